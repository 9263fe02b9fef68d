// The real clock's time offset in the panel root. The file holds the offset in milliseconds as
// decimal text; a file that holds anything else, or an offset beyond the range, is ignored and
// the host's time is used, so a bad file can neither overflow the clock nor stop it.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/runtime/detail_clock_offset.h"
#include "platform/storage/files.h"

namespace platform::detail {

namespace {

constexpr const char* kOffsetFileName = "clock_offset.txt";
constexpr std::size_t kMaxFileBytes = 64;  // a decimal number and a line end

struct RealOffset {
    std::mutex mutex;
    std::filesystem::path loadedRoot;
    bool loaded = false;
    std::int64_t offsetMs = 0;
};

RealOffset& Offset()
{
    static RealOffset offset;
    return offset;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// The offset a file holds; 0 for a missing or empty file, and for a bad one (said on stderr).
std::int64_t ReadOffset(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return 0;
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    const std::string_view number = Trim(text);
    if (number.empty()) return 0;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (text.size() <= kMaxFileBytes && ec == std::errc() && end == number.data() + number.size() &&
        ClockOffsetInRange(value)) {
        return value;
    }
    std::fprintf(stderr,
                 "panel: %s holds '%.*s', not a time offset within %lld ms (a hundred years) "
                 "either way; the host's time is used\n",
                 file.c_str(), static_cast<int>(std::min<std::size_t>(number.size(), 40)),
                 number.data(), static_cast<long long>(kMaxClockOffsetMs));
    return 0;
}

// Caller holds the offset lock. Reloads when the panel root has changed.
std::int64_t LoadedOffset(RealOffset& o)
{
    const std::filesystem::path& root = PanelRoot();
    if (o.loaded && root == o.loadedRoot) return o.offsetMs;
    o.loadedRoot = root;
    o.loaded = true;
    o.offsetMs = ReadOffset(root / kOffsetFileName);
    return o.offsetMs;
}

}  // namespace

bool ClockOffsetInRange(std::int64_t offsetMs)
{
    return offsetMs >= -kMaxClockOffsetMs && offsetMs <= kMaxClockOffsetMs;
}

std::int64_t RealClockOffsetMs()
{
    RealOffset& o = Offset();
    std::lock_guard lock(o.mutex);
    return LoadedOffset(o);
}

void StoreRealClockOffsetMs(std::int64_t offsetMs)
{
    RealOffset& o = Offset();
    std::lock_guard lock(o.mutex);
    LoadedOffset(o);
    o.offsetMs = offsetMs;
    const std::filesystem::path file = o.loadedRoot / kOffsetFileName;
    std::filesystem::path temp = file;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << offsetMs << "\n";
        if (!out.flush()) return;  // the offset still holds for this program
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);  // on failure the old offset file stays
}

}  // namespace platform::detail
