// Loading help pictures from the panel's disk: a screen-sized BMP, and one far larger than the
// screen (16384 x 16384 at 1 bit, a 32 MB file), which is refused from its header and must cost
// no more than opening the file, where decoding it took seconds and a gigabyte.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/storage/files.h"
#include "tests/platform/test_pictures.h"

namespace {

namespace fs = std::filesystem;

// A panel root with the two pictures, removed at the end of the run.
class PictureRoot {
public:
    PictureRoot() : dir_(fs::temp_directory_path() / "picture_load_bench")
    {
        fs::create_directories(dir_ / "Hard Disk");
        platform::SetPanelRoots(dir_, dir_ / "Hard Disk2");
        Write("screen.bmp", test_pictures::PlainBmp(640, 480));
        constexpr int kSide = 16384;
        constexpr std::uint32_t kRowBytes = kSide / 8;
        auto huge = test_pictures::BmpHeaders(kSide, kSide, 1, 0, kRowBytes * kSide, 8);
        test_pictures::PutLe(huge, 0x000000, 4);  // palette: black, white
        test_pictures::PutLe(huge, 0xFFFFFF, 4);
        huge.resize(huge.size() + std::size_t{kRowBytes} * kSide, 0x55);
        Write("huge.bmp", huge);
    }
    ~PictureRoot()
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    PictureRoot(const PictureRoot&) = delete;
    PictureRoot& operator=(const PictureRoot&) = delete;

private:
    void Write(const char* name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(dir_ / "Hard Disk" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    fs::path dir_;
};

void LoadPicture(benchmark::State& state, const wchar_t* path)
{
    static PictureRoot root;
    for (auto _ : state) {
        HBITMAP picture = SHLoadDIBitmap(path);
        benchmark::DoNotOptimize(picture);
        DeleteObject(picture);
    }
}

void BM_LoadScreenSizedHelpPicture(benchmark::State& state)
{
    LoadPicture(state, L"\\Hard Disk\\screen.bmp");
}
BENCHMARK(BM_LoadScreenSizedHelpPicture)->Unit(benchmark::kMillisecond);

void BM_RefuseHelpPictureLargerThanTheScreen(benchmark::State& state)
{
    LoadPicture(state, L"\\Hard Disk\\huge.bmp");
}
BENCHMARK(BM_RefuseHelpPictureLargerThanTheScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
