// The "button" class: push buttons with a system-drawn face, owner-drawn buttons (the
// panel's bitmap buttons, drawn by the owner through WM_DRAWITEM), check boxes, radio buttons
// and group frames. A press captures the pointer and holds the pushed state until release,
// which the screens read once a second to detect a held button.
#include <algorithm>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"

namespace platform::controls {

namespace {

constexpr DWORD kTypeMask = 0x0F;
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 6;

struct ButtonState {
    WPARAM check = BST_UNCHECKED;
    bool pushed = false;
    bool tracking = false;
    unsigned long long order = 0;  // creation order, for radio groups
};

StateTable<ButtonState> g_buttons;
unsigned long long g_nextOrder = 0;

DWORD ButtonType(HWND wnd)
{
    return Style(wnd) & kTypeMask;
}

bool IsRadio(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsCheckLike(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || IsRadio(type);
}

// ---- painting ----

void PaintPushButton(HWND wnd, Painter& paint, const ButtonState& s)
{
    RECT r = ClientRect(wnd);
    DWORD style = Style(wnd);
    bool isDefault = (style & kTypeMask) == BS_DEFPUSHBUTTON;
    bool enabled = IsWindowEnabled(wnd) != FALSE;
    paint.Fill(r, kFace);
    RECT face = r;
    if (isDefault) {
        DrawFrame(paint, r, kDarkShadow);
        face = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (s.pushed) {
        DrawFrame(paint, face, kShadow);
    } else {
        DrawEdge3D(paint, face, true);
    }
    std::wstring text = WindowText(wnd);
    RECT area{face.left + 4, face.top + 2, face.right - 4, face.bottom - 2};
    if (s.pushed) OffsetRectBy(area, 1, 1);
    COLORREF colour = enabled ? kText : kGreyText;
    if ((style & BS_MULTILINE) != 0 || text.find(L'\n') != std::wstring::npos) {
        // measure, then centre the block of lines vertically
        int height = paint.TextHeight(text, area.right - area.left, kFontCell, FW_NORMAL,
                                      DT_CENTER | DT_WORDBREAK);
        int spare = (area.bottom - area.top) - height;
        if (spare > 0) area.top += spare / 2;
        paint.Text(text, area, colour, kFontCell, FW_NORMAL, DT_CENTER | DT_WORDBREAK);
    } else {
        paint.Text(text, area, colour, kFontCell, FW_NORMAL,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void PaintCheckMark(Painter& paint, const RECT& box, COLORREF colour)
{
    paint.Line(box.left + 3, box.top + 6, box.left + 5, box.top + 9, colour, 2);
    paint.Line(box.left + 5, box.top + 9, box.left + 10, box.top + 3, colour, 2);
}

void PaintCheckBox(HWND wnd, Painter& paint, const ButtonState& s)
{
    RECT r = ClientRect(wnd);
    DWORD style = Style(wnd);
    bool radio = IsRadio(style & kTypeMask);
    bool enabled = IsWindowEnabled(wnd) != FALSE;
    PaintParentBackground(wnd, paint);
    int top = (r.bottom - r.top - kBoxSize) / 2;
    RECT box{r.left + 1, top, r.left + 1 + kBoxSize, top + kBoxSize};
    COLORREF inside = (s.pushed || !enabled) ? kFace : kWindow;
    COLORREF mark = enabled ? kText : kGreyText;
    if (radio) {
        paint.Ellipse(box, inside, kShadow, 1);
        if (s.check == BST_CHECKED) {
            paint.Ellipse(RECT{box.left + 4, box.top + 4, box.right - 4, box.bottom - 4}, mark,
                          mark, 1);
        }
    } else {
        paint.Fill(box, inside);
        DrawFrame(paint, box, kShadow);
        if (s.check == BST_CHECKED) PaintCheckMark(paint, box, mark);
    }
    std::wstring text = WindowText(wnd);
    RECT area{box.right + kBoxGap, r.top, r.right, r.bottom};
    COLORREF colour = enabled ? kText : kGreyText;
    if ((style & BS_MULTILINE) != 0) {
        paint.Text(text, area, colour, kFontCell, FW_NORMAL, DT_LEFT | DT_WORDBREAK);
    } else {
        paint.Text(text, area, colour, kFontCell, FW_NORMAL, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

void PaintGroupBox(HWND wnd, Painter& paint)
{
    RECT r = ClientRect(wnd);
    PaintParentBackground(wnd, paint);
    int lineY = kFontHeight / 2 + 1;
    RECT frame{r.left, r.top + lineY, r.right, r.bottom};
    // etched frame: a dark line with a light one inside
    DrawFrame(paint, RECT{frame.left, frame.top, frame.right - 1, frame.bottom - 1}, kShadow);
    DrawFrame(paint, RECT{frame.left + 1, frame.top + 1, frame.right, frame.bottom}, kLight);
    std::wstring text = WindowText(wnd);
    if (text.empty()) return;
    SIZE size = paint.TextExtent(text, kFontCell, FW_NORMAL);
    RECT caption{r.left + 8, r.top, std::min(r.right - 8, r.left + 8 + size.cx + 6),
                 r.top + kFontHeight + 4};
    // blank out the frame line behind the caption with the background of the parent
    RECT gap{caption.left, frame.top, caption.right, frame.top + 2};
    HWND parent = GetParent(wnd);
    HDC parentDc = parent != nullptr ? GetDC(parent) : nullptr;
    if (parentDc != nullptr) {
        POINT origin{0, 0};
        ClientToScreen(wnd, &origin);
        ScreenToClient(parent, &origin);
        BitBlt(paint.dc(), gap.left, gap.top, gap.right - gap.left, gap.bottom - gap.top, parentDc,
               origin.x + gap.left, origin.y + gap.top, SRCCOPY);
        ReleaseDC(parent, parentDc);
    } else {
        paint.Fill(gap, kFace);
    }
    COLORREF colour = IsWindowEnabled(wnd) != FALSE ? kText : kGreyText;
    paint.Text(text, caption, colour, kFontCell, FW_NORMAL, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

void PaintOwnerDrawn(HWND wnd, Painter& paint, const ButtonState& s)
{
    HWND parent = GetParent(wnd);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(wnd));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (s.pushed ? ODS_SELECTED : 0) | (IsWindowEnabled(wnd) ? 0 : ODS_DISABLED);
    dis.hwndItem = wnd;
    dis.hDC = paint.dc();
    dis.rcItem = ClientRect(wnd);
    paint.Fill(dis.rcItem, kFace);  // what shows when the owner draws nothing
    if (parent == nullptr) return;
    SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void Paint(HWND wnd)
{
    PaintScope scope(wnd);
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    switch (ButtonType(wnd)) {
        case BS_OWNERDRAW: PaintOwnerDrawn(wnd, paint, *s); break;
        case BS_GROUPBOX: PaintGroupBox(wnd, paint); break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: PaintCheckBox(wnd, paint, *s); break;
        default: PaintPushButton(wnd, paint, *s); break;
    }
}

// ---- behaviour ----

void SetPushed(HWND wnd, ButtonState& s, bool pushed)
{
    if (s.pushed == pushed) return;
    s.pushed = pushed;
    InvalidateRect(wnd, nullptr, FALSE);
}

void SetCheck(HWND wnd, ButtonState& s, WPARAM check)
{
    if (s.check == check) return;
    s.check = check;
    InvalidateRect(wnd, nullptr, FALSE);
}

// The radio buttons that share a group with this one: the radio siblings in creation order,
// split into groups where a button carries WS_GROUP.
std::vector<HWND> RadioGroupOf(HWND wnd)
{
    HWND parent = GetParent(wnd);
    std::vector<std::pair<unsigned long long, HWND>> siblings;
    g_buttons.ForEach([&](HWND other, ButtonState& st) {
        if (GetParent(other) == parent && IsRadio(ButtonType(other))) {
            siblings.emplace_back(st.order, other);
        }
    });
    std::sort(siblings.begin(), siblings.end());
    std::vector<HWND> group;
    bool found = false;
    for (auto& [order, other] : siblings) {
        if ((Style(other) & WS_GROUP) != 0 && !group.empty()) {
            if (found) break;
            group.clear();
        }
        group.push_back(other);
        if (other == wnd) found = true;
    }
    return found ? group : std::vector<HWND>{wnd};
}

void CheckInGroup(HWND wnd)
{
    for (HWND other : RadioGroupOf(wnd)) {
        ButtonState* s = g_buttons.Find(other);
        if (s != nullptr) SetCheck(other, *s, other == wnd ? BST_CHECKED : BST_UNCHECKED);
    }
}

// What a completed press does: toggle or check the automatic kinds, then tell the parent.
// The parent may destroy the button while handling the notification, so nothing follows it.
void Click(HWND wnd)
{
    DWORD type = ButtonType(wnd);
    if (type == BS_GROUPBOX) return;
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr) return;
    if (type == BS_AUTOCHECKBOX) {
        SetCheck(wnd, *s, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (type == BS_AUTORADIOBUTTON) {
        CheckInGroup(wnd);
    }
    NotifyParent(wnd, BN_CLICKED);
}

void OnDown(HWND wnd)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || IsWindowEnabled(wnd) == FALSE || ButtonType(wnd) == BS_GROUPBOX) return;
    SetCapture(wnd);
    s->tracking = true;
    SetPushed(wnd, *s, true);
}

void OnMove(HWND wnd, LPARAM lp)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || !s->tracking) return;
    RECT r = ClientRect(wnd);
    SetPushed(wnd, *s, PtInRect(&r, PointFromLParam(lp)));
}

void OnUp(HWND wnd, LPARAM lp)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || !s->tracking) return;
    s->tracking = false;
    ReleaseCapture();
    SetPushed(wnd, *s, false);
    RECT r = ClientRect(wnd);
    if (PtInRect(&r, PointFromLParam(lp))) Click(wnd);
}

LRESULT OnPointer(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (ButtonType(wnd) == BS_GROUPBOX) return ForwardPointerToParent(wnd, msg, wp, lp);
    switch (msg) {
        case WM_LBUTTONDOWN: OnDown(wnd); break;
        case WM_MOUSEMOVE: OnMove(wnd, lp); break;
        case WM_LBUTTONUP: OnUp(wnd, lp); break;
    }
    return 0;
}

// The press ends without a click: the button is disabled, or its window is while it is held.
void CancelPress(HWND wnd)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || !s->tracking) return;
    s->tracking = false;
    ReleaseCapture();
    SetPushed(wnd, *s, false);
}

void OnEnable(HWND wnd, bool enabled)
{
    if (!enabled) CancelPress(wnd);
    InvalidateRect(wnd, nullptr, FALSE);
}

LRESULT OnSetCheck(HWND wnd, WPARAM wp)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr || !IsCheckLike(ButtonType(wnd))) return 0;
    SetCheck(wnd, *s, wp == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
    return 0;
}

LRESULT OnGetState(HWND wnd)
{
    ButtonState* s = g_buttons.Find(wnd);
    if (s == nullptr) return 0;
    return static_cast<LRESULT>(s->check) | (s->pushed ? BST_PUSHED : 0);
}

void OnCreate(HWND wnd)
{
    g_buttons.Create(wnd).order = g_nextOrder++;
    if (ButtonType(wnd) != BS_GROUPBOX) KeepAboveGroupBoxes(wnd);
}

}  // namespace

void KeepAboveGroupBoxes(HWND wnd)
{
    HWND parent = GetParent(wnd);
    if (parent == nullptr) return;
    bool hasFrame = false;
    g_buttons.ForEach([&](HWND other, ButtonState&) {
        if (other != wnd && GetParent(other) == parent && ButtonType(other) == BS_GROUPBOX) {
            hasFrame = true;
        }
    });
    if (hasFrame) SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: OnCreate(wnd); return 0;
        case WM_DESTROY: g_buttons.Erase(wnd); return 0;
        case WM_PAINT: Paint(wnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: return OnPointer(wnd, msg, wp, lp);
        case WM_ENABLE: OnEnable(wnd, wp != 0); return 0;
        case WM_CANCELMODE: CancelPress(wnd); return 0;
        case WM_SETTEXT: {
            LRESULT result = DefWindowProc(wnd, msg, wp, lp);
            InvalidateRect(wnd, nullptr, FALSE);
            return result;
        }
        case BM_GETCHECK: {
            ButtonState* s = g_buttons.Find(wnd);
            return s != nullptr ? static_cast<LRESULT>(s->check) : 0;
        }
        case BM_SETCHECK: return OnSetCheck(wnd, wp);
        case BM_GETSTATE: return OnGetState(wnd);
        case BM_SETSTATE: {
            ButtonState* s = g_buttons.Find(wnd);
            if (s != nullptr) SetPushed(wnd, *s, wp != 0);
            return 0;
        }
        case BM_CLICK:
            if (IsWindowEnabled(wnd) != FALSE) Click(wnd);
            return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace platform::controls
