// The "static" class: texts (left, centred or right, wrapped at word breaks) drawn on the
// parent's background, and pictures given with STM_SETIMAGE (SS_BITMAP).
#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"

namespace platform::controls {

namespace {

constexpr DWORD kTypeMask = 0x1F;

struct StaticState {
    HBITMAP image = nullptr;  // owned by the caller, as in the system API
};

StateTable<StaticState> g_statics;

void PaintImage(Painter& paint, HBITMAP image)
{
    BITMAP info;
    if (image == nullptr || GetObject(image, sizeof info, &info) == 0) return;
    paint.Bitmap(image, 0, 0, info.bmWidth, info.bmHeight);
}

UINT TextFormat(DWORD type)
{
    switch (type) {
        case SS_CENTER: return DT_CENTER | DT_WORDBREAK;
        case SS_RIGHT: return DT_RIGHT | DT_WORDBREAK;
        default: return DT_LEFT | DT_WORDBREAK;
    }
}

void Paint(HWND wnd)
{
    PaintScope scope(wnd);
    StaticState* s = g_statics.Find(wnd);
    if (s == nullptr || scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    PaintParentBackground(wnd, paint);
    DWORD type = Style(wnd) & kTypeMask;
    if (type == SS_BITMAP) {
        PaintImage(paint, s->image);
        return;
    }
    std::wstring text = ExpandTabsCapped(WindowText(wnd));
    COLORREF colour = IsWindowEnabled(wnd) != FALSE ? kText : kGreyText;
    paint.Text(text, ClientRect(wnd), colour, kFontCell, FW_NORMAL, TextFormat(type));
}

LRESULT SetImage(HWND wnd, LPARAM lp)
{
    StaticState* s = g_statics.Find(wnd);
    if (s == nullptr) return 0;
    HBITMAP previous = s->image;
    s->image = reinterpret_cast<HBITMAP>(lp);
    InvalidateRect(wnd, nullptr, FALSE);
    return reinterpret_cast<LRESULT>(previous);
}

}  // namespace

LRESULT StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            g_statics.Create(wnd);
            KeepAboveGroupBoxes(wnd);
            return 0;
        case WM_DESTROY: g_statics.Erase(wnd); return 0;
        case WM_PAINT: Paint(wnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
        case WM_SETTEXT: {
            LRESULT result = DefWindowProc(wnd, msg, wp, lp);
            InvalidateRect(wnd, nullptr, FALSE);
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: return ForwardPointerToParent(wnd, msg, wp, lp);
        case STM_SETIMAGE: return SetImage(wnd, lp);
        case STM_GETIMAGE: {
            StaticState* s = g_statics.Find(wnd);
            return s != nullptr ? reinterpret_cast<LRESULT>(s->image) : 0;
        }
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace platform::controls
