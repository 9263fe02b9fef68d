// Internal pieces shared by the built-in controls, the dialogs and the message boxes: the
// classic panel look (grey faces, 3D edges, DejaVu Sans text), per-window state tables, the
// scroll bar geometry that the scroll bar class and the lists' built-in bars share, and the
// modal window runner.
// Not for application code.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/drawing/painter.h"
#include "platform/win_types.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

// Scroll bar messages used between the helpers and the scroll bar class.
inline constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
inline constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
inline constexpr UINT STM_GETIMAGE = 0x0173;

namespace platform::controls {

// ---- the look ----
inline constexpr COLORREF kFace = RGB(192, 192, 192);
inline constexpr COLORREF kLight = RGB(255, 255, 255);
inline constexpr COLORREF kShadow = RGB(128, 128, 128);
inline constexpr COLORREF kDarkShadow = RGB(0, 0, 0);
inline constexpr COLORREF kWindow = RGB(255, 255, 255);
inline constexpr COLORREF kText = RGB(0, 0, 0);
inline constexpr COLORREF kGreyText = RGB(128, 128, 128);
inline constexpr COLORREF kSelection = RGB(0, 0, 128);
inline constexpr COLORREF kSelectionText = RGB(255, 255, 255);
inline constexpr int kFontHeight = 14;   // character height of control texts, pixels
inline constexpr int kScrollWidth = 16;  // built-in scroll bars of lists

inline void OffsetRectBy(RECT& r, int dx, int dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

// The controls paint with the painter's verbs on the context of their paint. Their texts are
// in the font of kFontHeight pixels, as Painter::Text takes it:
inline constexpr int kFontCell = -kFontHeight;  // LOGFONT height: character height

// Two-pixel 3D edge: raised (light top-left) or sunken (dark top-left).
void DrawEdge3D(Painter& paint, const RECT& rect, bool raised);
// One-pixel frame in one colour, as Painter::Frame draws it; nothing for a rectangle turned
// inside out (a control too small for its border), which Painter::Frame would turn round.
void DrawFrame(Painter& paint, const RECT& rect, COLORREF colour);
// Fills the control with what its parent shows beneath it (so texts and boxes sit on the
// parent's own background), or with the face colour when the parent cannot be read.
void PaintParentBackground(HWND wnd, Painter& paint);

std::wstring WindowText(HWND wnd);
RECT ClientRect(HWND wnd);
DWORD Style(HWND wnd);
POINT PointFromLParam(LPARAM lp);
// Sends WM_COMMAND (id, code) with the control's handle to the control's parent.
void NotifyParent(HWND control, WORD code);
// Texts and group frames are not touch targets: a tap on one reaches the parent beneath it
// (pointer coordinates moved into the parent's client area).
LRESULT ForwardPointerToParent(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
// Expands tabs to the next stop of eight columns; a run of tabs advances one stop at most, so
// texts indented by long runs of tabs stay on the screen.
std::wstring ExpandTabsCapped(std::wstring_view text);
// Copies text into a caller buffer of maxChars (terminator included); returns chars copied.
int CopyOut(std::wstring_view text, wchar_t* out, int maxChars);

// Per-window state of one control class, created on WM_CREATE and freed on WM_DESTROY.
template <class State>
class StateTable {
public:
    State* Find(HWND wnd)
    {
        auto it = states_.find(wnd);
        return it == states_.end() ? nullptr : it->second.get();
    }
    State& Create(HWND wnd)
    {
        auto& slot = states_[wnd];
        slot = std::make_unique<State>();
        return *slot;
    }
    void Erase(HWND wnd) { states_.erase(wnd); }
    template <class F>
    void ForEach(F&& f)
    {
        for (auto& [wnd, state] : states_) f(wnd, *state);
    }

private:
    std::map<HWND, std::unique_ptr<State>> states_;
};

// ---- scroll bar geometry, shared by the scroll bar class and the lists' built-in bars ----
enum class ScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct ScrollRange {
    int min = 0;
    int max = 100;
    int page = 0;
    int pos = 0;
    // Highest position the thumb can reach (the last page shows the end of the range).
    int MaxPos() const { return page > 0 ? std::max(min, max - page + 1) : max; }
    int Clamp(int p) const { return std::clamp(p, min, std::max(min, MaxPos())); }
};

struct ScrollLayout {
    bool vertical = true;
    RECT bar;
    RECT lineUp;
    RECT lineDown;
    RECT track;
    RECT thumb;
    bool hasThumb = false;
};

ScrollLayout LayoutScroll(const RECT& bar, bool vertical, const ScrollRange& range);
ScrollPart HitScroll(const ScrollLayout& layout, POINT p);
// Position for the thumb's leading edge at the given pixel coordinate along the track.
int ScrollPosFromThumb(const ScrollLayout& layout, const ScrollRange& range, int leadingEdge);
void PaintScroll(Painter& paint, const ScrollLayout& layout, ScrollPart pressed, bool enabled);

// Group frames are drawn as opaque windows, so the controls that sit inside one must lie above
// it: a control created on a parent that has a group frame moves itself to the front.
void KeepAboveGroupBoxes(HWND wnd);

// ---- window procedures of the classes ----
LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ListBoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ScrollBarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ProgressProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// ---- dialogs and message boxes ----
inline constexpr const wchar_t* kDialogClass = L"#32770";
inline constexpr const wchar_t* kMessageBoxClass = L"#MessageBox";
void RegisterDialogClasses();

// Runs a modal window of the given dialog-like class (see DialogBoxIndirectParam).
INT_PTR RunModal(const wchar_t* className, const DialogTemplate& tmpl, HINSTANCE instance,
                 HWND owner, DLGPROC proc, LPARAM param);

}  // namespace platform::controls
