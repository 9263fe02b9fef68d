// The program file is read whole, once, into a text buffer one byte larger than the panel's, so
// that a file too large for the buffer shows itself by filling it, whatever its size claims.
#include "flasher/hex_file.h"

#include <vector>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

HexFileResult Refused(std::wstring_view panelPath, HexImage& image, HexFault fault,
                      std::uint32_t bytesRead)
{
    image.bytes.fill(0xFF);
    image.length = 0;
    HexFileResult result;
    result.read = {fault, 0, bytesRead};
    result.refusal = HexRefusalLine(HexFileName(panelPath), result.read);
    return result;
}

}  // namespace

std::wstring_view HexFileName(std::wstring_view panelPath)
{
    const std::size_t slash = panelPath.find_last_of(L'\\');
    return slash == std::wstring_view::npos ? panelPath : panelPath.substr(slash + 1);
}

HexFileResult ReadHexFile(std::wstring_view panelPath, HexImage& image)
{
    const std::wstring path(panelPath);
    HANDLE file = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        return Refused(panelPath, image, HexFault::Unreadable, 0);
    }
    std::vector<std::uint8_t> text(kHexTextBufferSize + 1);
    std::size_t filled = 0;
    bool failed = false;
    while (filled < text.size()) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(text.size() - filled);
        if (!ReadFile(file, text.data() + filled, want, &got, nullptr)) {
            failed = true;
            break;
        }
        if (got == 0) break;
        filled += got;
    }
    CloseHandle(file);
    if (failed) return Refused(panelPath, image, HexFault::Unreadable, 0);
    if (filled > kHexTextBufferSize) {
        return Refused(panelPath, image, HexFault::TooLarge, 0);
    }
    HexFileResult result;
    result.read = ParseHexText(std::span(text.data(), filled), image);
    result.refusal = HexRefusalLine(HexFileName(panelPath), result.read);
    return result;
}
