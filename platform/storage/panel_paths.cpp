// Panel paths on the host: "\Hard Disk\..." and "\" under the panel root, "\Hard Disk2\..." and
// "USB Storage\..." under the USB folder, names matched case-insensitively as on the panel,
// name patterns with "?" and "*", and the UTF-8 conversions of file names.
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

std::wstring Widen(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += L'\xFFFD';
            ++i;  // resynchronise on the next byte
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Narrow(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t w : wide) {
        auto cp = static_cast<char32_t>(w);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace platform
