// Panel paths on the host: "\Hard Disk\..." and "\" under the panel root, "\Hard Disk2\..." and
// "USB Storage\..." under the USB folder, names matched case-insensitively as on the panel,
// and name patterns with "?" and "*".
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/runtime/detail_text.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

struct Roots {
    std::mutex mutex;
    fs::path root = ".";
    fs::path usb = "./Hard Disk2";
};

Roots& PanelRoots()
{
    static Roots roots;
    return roots;
}

// Case folding for names, independent of the host locale: ASCII and the Latin-1 letters the
// panel's languages use.
wchar_t Fold(wchar_t c)
{
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    return c;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return Fold(x) == Fold(y); });
}

// The names of a panel path; "\" and "/" both separate them.
std::vector<std::wstring> SplitPanelPath(std::wstring_view path)
{
    return platform::detail::SplitAtAny(path, L"\\/");
}

// The entry of `dir` named `name`, exactly or else ignoring case; empty when none.
std::wstring FindEntryNoCase(const fs::path& dir, const std::wstring& name)
{
    std::error_code ec;
    const std::string narrow = platform::Narrow(name);
    if (fs::exists(dir / narrow, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        // Letters that fold into each other have UTF-8 forms of the same length.
        const std::string entryName = it->path().filename().string();
        if (entryName.size() != narrow.size()) continue;
        const std::wstring entry = platform::Widen(entryName);
        if (EqualNoCase(entry, name)) return entry;
    }
    return {};
}

}  // namespace

namespace platform {

void SetPanelRoots(const fs::path& root, const fs::path& usb)
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    r.root = root;
    r.usb = usb.empty() ? root / "Hard Disk2" : usb;
}

const fs::path& PanelRoot()
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    return r.root;
}

const fs::path& UsbRoot()
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    return r.usb;
}

fs::path MapPanelPath(std::wstring_view panelPath)
{
    std::vector<std::wstring> parts = SplitPanelPath(panelPath);
    fs::path base;
    {
        Roots& r = PanelRoots();
        std::lock_guard lock(r.mutex);
        base = r.root;
        if (!parts.empty() && (EqualNoCase(parts.front(), L"Hard Disk2") ||
                               EqualNoCase(parts.front(), L"USB Storage"))) {
            base = r.usb;
            parts.erase(parts.begin());
        }
    }
    // "." stays put and ".." climbs, but never above the root it started from.
    std::vector<std::wstring> clean;
    for (auto& part : parts) {
        if (part == L".") continue;
        if (part == L"..") {
            if (!clean.empty()) clean.pop_back();
            continue;
        }
        clean.push_back(std::move(part));
    }
    fs::path host = base;
    bool lookUp = true;
    for (const auto& part : clean) {
        if (lookUp) {
            const std::wstring found = FindEntryNoCase(host, part);
            if (!found.empty()) {
                host /= Narrow(found);
                continue;
            }
            lookUp = false;  // below a missing folder nothing exists to match
        }
        host /= Narrow(part);
    }
    return host;
}

bool MatchPattern(std::wstring_view pattern, std::wstring_view name)
{
    if (pattern == L"*.*" || pattern == L"*") return true;
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::wstring_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            starName = n;
        } else if (starAt != std::wstring_view::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace platform
