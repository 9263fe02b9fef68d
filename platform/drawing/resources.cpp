// Bitmap resources of the running program. A resource comes from a file
// resources/<program>/<id>.png or .bmp when one exists, else it is drawn from the program's
// table: button faces with their captions, pressed and greyed faces, pictures.
#include "platform/drawing/resources.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/drawing/detail_gdi.h"
#include "platform/drawing/gdi.h"

namespace {

constexpr COLORREF kLight = 0xFFFFFF;
constexpr COLORREF kShadow = 0x808080;
constexpr COLORREF kDark = 0x000000;
constexpr COLORREF kGreyText = 0x808080;

struct ResourceTable {
    std::mutex mu;
    std::string program;
    std::vector<BitmapResource> table;
    std::vector<std::wstring> captions;  // owned copies of the captions
    std::optional<std::filesystem::path> dir;
    std::map<int, HBITMAP> shared;  // loaded once for the painter; null for a missing one
};

ResourceTable& Table()
{
    static ResourceTable* t = new ResourceTable();
    return *t;
}

std::vector<std::filesystem::path> SearchDirs()
{
    ResourceTable& t = Table();
    std::vector<std::filesystem::path> dirs;
    {
        std::lock_guard lock(t.mu);
        if (t.dir) return {*t.dir};
    }
    std::error_code ec;
    dirs.push_back(std::filesystem::current_path(ec));
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        std::filesystem::path exe(std::string(buf, static_cast<std::size_t>(n)));
        std::filesystem::path dir = exe.parent_path();
        for (int up = 0; up < 3 && !dir.empty(); ++up) {
            dirs.push_back(dir);
            dir = dir.parent_path();
        }
    }
    return dirs;
}

HBITMAP LoadOverride(const std::string& program, int id)
{
    if (program.empty()) return nullptr;
    for (const auto& dir : SearchDirs()) {
        for (const char* ext : {".png", ".bmp"}) {
            const auto path = dir / "resources" / program / (std::to_string(id) + ext);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(path, ec)) continue;
            if (HBITMAP b = platform::detail::LoadPictureFile(path)) return b;
        }
    }
    return nullptr;
}

COLORREF Darker(COLORREF c, int percent)
{
    return RGB(GetRValue(c) * percent / 100, GetGValue(c) * percent / 100,
               GetBValue(c) * percent / 100);
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000;
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// A 3-D bevel two pixels deep: raised (light top-left) or sunken.
void Bevel(HDC dc, int w, int h, bool raised)
{
    const COLORREF outerTl = raised ? kLight : kDark;
    const COLORREF outerBr = raised ? kDark : kLight;
    const COLORREF innerTl = raised ? Darker(kLight, 90) : kShadow;
    const COLORREF innerBr = raised ? kShadow : Darker(kLight, 90);
    Line(dc, 0, 0, w - 1, 0, outerTl);
    Line(dc, 0, 0, 0, h - 1, outerTl);
    Line(dc, 0, h - 1, w, h - 1, outerBr);
    Line(dc, w - 1, 0, w - 1, h, outerBr);
    Line(dc, 1, 1, w - 2, 1, innerTl);
    Line(dc, 1, 1, 1, h - 2, innerTl);
    Line(dc, 1, h - 2, w - 1, h - 2, innerBr);
    Line(dc, w - 2, 1, w - 2, h - 1, innerBr);
}

// The caption in the largest bold font (at most 20 px) whose lines fit the face.
void Caption(HDC dc, const std::wstring& text, RECT box, COLORREF colour, bool bold)
{
    if (text.empty()) return;
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
    const int boxW = box.right - box.left;
    const int boxH = box.bottom - box.top;
    int cell = std::min(22, std::max(8, boxH / lines));
    HFONT font = nullptr;
    RECT calc{};
    for (; cell >= 8; --cell) {
        LOGFONT lf;
        lf.lfHeight = cell;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        if (font != nullptr) DeleteObject(font);
        font = CreateFontIndirect(&lf);
        SelectObject(dc, font);
        calc = RECT{0, 0, boxW, 0};
        DrawText(dc, text.c_str(), -1, &calc, DT_CALCRECT | DT_CENTER);
        if (calc.right <= boxW && calc.bottom <= boxH) break;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const int textH = calc.bottom - calc.top;
    RECT r{box.left, box.top + (boxH - textH) / 2, box.right, box.top + (boxH - textH) / 2 + textH};
    DrawText(dc, text.c_str(), -1, &r, DT_CENTER | DT_NOCLIP);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    if (font != nullptr) DeleteObject(font);
}

void Fill(HDC dc, int w, int h, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void DrawArt(HDC dc, const BitmapResource& res)
{
    const int w = res.width, h = res.height;
    const std::wstring caption = res.caption != nullptr ? res.caption : L"";
    const COLORREF ink = IsDark(res.colour) ? 0xFFFFFF : 0x000000;
    switch (res.kind) {
        case ArtKind::Button:
            Fill(dc, w, h, res.colour);
            Bevel(dc, w, h, true);
            Caption(dc, caption, RECT{4, 3, w - 4, h - 3}, ink, true);
            break;
        case ArtKind::ButtonPressed:
            Fill(dc, w, h, Darker(res.colour, 88));
            Bevel(dc, w, h, false);
            Caption(dc, caption, RECT{6, 5, w - 2, h - 1}, ink, true);
            break;
        case ArtKind::ButtonGreyed:
            Fill(dc, w, h, res.colour);
            Bevel(dc, w, h, true);
            Caption(dc, caption, RECT{5, 4, w - 3, h - 2}, kLight, true);
            Caption(dc, caption, RECT{4, 3, w - 4, h - 3}, kGreyText, true);
            break;
        case ArtKind::Picture:
            Fill(dc, w, h, res.colour);
            if (res.painter != nullptr) {
                res.painter(dc, w, h, res.id);
                break;
            }
            {
                HBRUSH frame = CreateSolidBrush(kShadow);
                RECT r{0, 0, w, h};
                FrameRect(dc, &r, frame);
                DeleteObject(frame);
            }
            Caption(dc, caption, RECT{3, 3, w - 3, h - 3}, ink, false);
            break;
        case ArtKind::Blank: Fill(dc, w, h, res.colour); break;
    }
}

}  // namespace

namespace platform {

void RegisterBitmapResources(const std::string& program, std::span<const BitmapResource> table)
{
    ResourceTable& t = Table();
    std::lock_guard lock(t.mu);
    for (const auto& [id, bitmap] : t.shared) DeleteObject(bitmap);
    t.shared.clear();
    t.program = program;
    t.table.assign(table.begin(), table.end());
    t.captions.clear();
    t.captions.reserve(t.table.size());
    for (auto& r : t.table) {
        t.captions.emplace_back(r.caption != nullptr ? r.caption : L"");
        r.caption = t.captions.back().c_str();
    }
}

void SetResourceDirectory(const std::filesystem::path& dir)
{
    ResourceTable& t = Table();
    std::lock_guard lock(t.mu);
    t.dir = dir;
}

const BitmapResource* FindBitmapResource(int id)
{
    ResourceTable& t = Table();
    std::lock_guard lock(t.mu);
    for (const auto& r : t.table) {
        if (r.id == id) return &r;
    }
    return nullptr;
}

}  // namespace platform

namespace platform::detail {

HBITMAP SharedResourceBitmap(int resourceId)
{
    ResourceTable& t = Table();
    {
        std::lock_guard lock(t.mu);
        if (const auto found = t.shared.find(resourceId); found != t.shared.end())
            return found->second;
    }
    HBITMAP loaded = LoadBitmap(nullptr, resourceId);
    std::lock_guard lock(t.mu);
    const auto [at, added] = t.shared.emplace(resourceId, loaded);
    if (!added && loaded != nullptr) DeleteObject(loaded);  // loaded meanwhile by another call
    return at->second;
}

}  // namespace platform::detail

HBITMAP LoadBitmap(HINSTANCE /*instance*/, int resourceId)
{
    std::string program;
    {
        ResourceTable& t = Table();
        std::lock_guard lock(t.mu);
        program = t.program;
    }
    const std::wstring name = L"#" + std::to_wstring(resourceId);
    if (HBITMAP file = LoadOverride(program, resourceId)) {
        platform::detail::MarkPicture(file, name);
        return file;
    }
    const BitmapResource* res = platform::FindBitmapResource(resourceId);
    if (res == nullptr || res->width <= 0 || res->height <= 0 || res->width > 4096 ||
        res->height > 4096) {
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, res->width, res->height);
    if (bitmap == nullptr) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawArt(dc, *res);
    SelectObject(dc, old);
    DeleteDC(dc);
    platform::detail::MarkPicture(bitmap, name);
    return bitmap;
}
