// Modal dialogs from templates written as C++ tables: a top-most popup of the dialog class,
// its controls, WM_INITDIALOG, and a nested message loop (timers keep firing) that runs until
// EndDialog. The owner is disabled while the dialog is up.
#include <algorithm>
#include <map>

#include "platform/controls/controls.h"
#include "platform/controls/detail_builtin.h"
#include "platform/controls/detail_controls.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/dialog.h"

namespace platform::controls {

namespace {

struct DialogState {
    DLGPROC proc = nullptr;
    HWND owner = nullptr;
    COLORREF background = kFace;
    bool ended = false;
    INT_PTR result = IDCANCEL;
};

// The state lives in the frame of the modal loop that runs the dialog.
std::map<HWND, DialogState*> g_dialogs;

DialogState* FindDialog(HWND wnd)
{
    auto it = g_dialogs.find(wnd);
    return it == g_dialogs.end() ? nullptr : it->second;
}

void FillBackground(HWND wnd, HDC dc)
{
    DialogState* s = FindDialog(wnd);
    Painter(dc).Fill(ClientRect(wnd), s != nullptr ? s->background : kFace);
}

LRESULT DefaultDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_ERASEBKGND: {
            auto dc = reinterpret_cast<HDC>(wp);
            if (dc != nullptr) FillBackground(wnd, dc);
            return 1;
        }
        case WM_PAINT: {
            PaintScope paint(wnd);
            if (paint.dc() != nullptr) FillBackground(wnd, paint.dc());
            return 0;
        }
        case WM_CLOSE:
            // as on the panel: closing a dialog is its Cancel command
            SendMessage(wnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
            return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT DialogWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    DialogState* s = FindDialog(wnd);
    if (s != nullptr && s->proc != nullptr) {
        INT_PTR handled = s->proc(wnd, msg, wp, lp);
        if (handled != FALSE) return handled;
    }
    return DefaultDialogProc(wnd, msg, wp, lp);
}

int ScaleX(const DialogTemplate& t, int v)
{
    return t.dialogUnits ? v * 3 / 2 : v;
}

int ScaleY(const DialogTemplate& t, int v)
{
    return t.dialogUnits ? v * 13 / 8 : v;
}

HWND CreateControls(HWND dlg, const DialogTemplate& t, HINSTANCE instance)
{
    HWND first = nullptr;
    for (const DialogControl& c : t.controls) {
        if (c.className == nullptr) continue;
        HWND item =
            CreateWindowEx(c.exStyle, c.className, c.text != nullptr ? c.text : L"",
                           c.style | WS_CHILD | WS_VISIBLE, ScaleX(t, c.x), ScaleY(t, c.y),
                           ScaleX(t, c.width), ScaleY(t, c.height), dlg, c.id, instance, nullptr);
        if (first == nullptr) first = item;
    }
    return first;
}

// Return on the dialog or one of its controls is its OK command, Escape its Cancel command,
// so that a keyboard answers a dialog as a tap on OK or Cancel would.
bool TakeDialogKey(HWND dlg, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN) return false;
    if (msg.hwnd != dlg && GetParent(msg.hwnd) != dlg) return false;
    const WORD command = msg.wParam == VK_RETURN ? IDOK : IDCANCEL;
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return true;
}

HWND TopLevelOf(HWND wnd)
{
    for (int depth = 0; wnd != nullptr && depth < 64; ++depth) {
        HWND parent = GetParent(wnd);
        if ((Style(wnd) & WS_CHILD) == 0 || parent == nullptr) return wnd;
        wnd = parent;
    }
    return wnd;
}

// Removes the dialog's table entry when the modal loop's frame ends, however it ends.
class DialogEntry {
public:
    DialogEntry(HWND dlg, DialogState* state) : dlg_(dlg) { g_dialogs[dlg] = state; }
    ~DialogEntry() { g_dialogs.erase(dlg_); }
    DialogEntry(const DialogEntry&) = delete;
    DialogEntry& operator=(const DialogEntry&) = delete;

private:
    HWND dlg_;
};

}  // namespace

void RegisterDialogClasses()
{
    for (const wchar_t* name : {kDialogClass, kMessageBoxClass}) {
        WNDCLASS wc;
        wc.lpfnWndProc = DialogWindowProc;
        wc.lpszClassName = name;
        RegisterClass(&wc);  // a second registration fails softly
    }
}

INT_PTR RunModal(const wchar_t* className, const DialogTemplate& tmpl, HINSTANCE instance,
                 HWND owner, DLGPROC proc, LPARAM param)
{
    platform::RegisterBuiltinControlClasses();
    if (owner != nullptr && IsWindow(owner) == FALSE) owner = nullptr;
    // the template's position counts from the owner's client area
    POINT origin{0, 0};
    if (owner != nullptr) ClientToScreen(owner, &origin);
    DWORD style = (tmpl.style | WS_POPUP) & ~(WS_CHILD | WS_VISIBLE);
    HWND dlg = CreateWindowEx(
        tmpl.exStyle | WS_EX_TOPMOST, className, tmpl.caption != nullptr ? tmpl.caption : L"",
        style, origin.x + ScaleX(tmpl, tmpl.x), origin.y + ScaleY(tmpl, tmpl.y),
        ScaleX(tmpl, tmpl.width), ScaleY(tmpl, tmpl.height), owner, 0, instance, nullptr);
    if (dlg == nullptr) return -1;

    DialogState state;
    state.proc = proc;
    state.owner = owner;
    state.background = tmpl.background;
    DialogEntry entry(dlg, &state);
    if ((tmpl.style & DS_CENTER) != 0) CenterWindowOver(dlg, owner);
    HWND first = CreateControls(dlg, tmpl, instance);

    // A child owner (a page of a screen) stands for its whole screen: the top-level window is
    // disabled. EnableWindow returns whether it was disabled already; only then it stays so.
    HWND screen = TopLevelOf(owner);
    bool reenable = screen != nullptr && EnableWindow(screen, FALSE) == FALSE;
    SendMessage(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!state.ended && IsWindow(dlg) != FALSE) {
        ShowWindow(dlg, SW_SHOW);
        SetForegroundWindow(dlg);
    }

    bool quit = false;
    WPARAM quitCode = 0;
    while (!state.ended && IsWindow(dlg) != FALSE) {
        MSG msg;
        if (GetMessage(&msg, nullptr, 0, 0) == FALSE) {
            quit = true;
            quitCode = msg.wParam;
            state.result = IDCANCEL;
            break;
        }
        if (TakeDialogKey(dlg, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }

    INT_PTR result = state.ended ? state.result : IDCANCEL;
    if (reenable && IsWindow(screen) != FALSE) EnableWindow(screen, TRUE);
    if (IsWindow(dlg) != FALSE) DestroyWindow(dlg);
    // the program is ending: the loops outside this one must see the quit too
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return result;
}

}  // namespace platform::controls

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate& tmpl, HWND owner,
                               DLGPROC proc, LPARAM param)
{
    return platform::controls::RunModal(platform::controls::kDialogClass, tmpl, instance, owner,
                                        proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    using namespace platform::controls;
    DialogState* s = FindDialog(dialog);
    if (s == nullptr) return FALSE;
    s->ended = true;
    s->result = result;
    ShowWindow(dialog, SW_HIDE);
    PostMessage(dialog, WM_NULL, 0, 0);  // wakes the modal loop if it is waiting
    return TRUE;
}

void CenterWindowOver(HWND wnd, HWND over)
{
    RECT own;
    if (GetWindowRect(wnd, &own) == FALSE) return;
    // A dialog asked to centre over its parent, which the window system does not report for
    // pop-ups, centres over the owner it was opened for.
    if (over == nullptr) {
        if (const auto* dialog = platform::controls::FindDialog(wnd); dialog != nullptr) {
            over = dialog->owner;
        }
    }
    RECT area{0, 0, platform::kScreenWidth, platform::kScreenHeight};
    if (over != nullptr && GetWindowRect(over, &area) == FALSE) {
        area = RECT{0, 0, platform::kScreenWidth, platform::kScreenHeight};
    }
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = area.left + std::max(0, ((area.right - area.left) - width) / 2);
    int y = area.top + std::max(0, ((area.bottom - area.top) - height) / 2);
    // keep the window on the screen when it is larger than the space right of the owner
    x = std::max(0, std::min(x, platform::kScreenWidth - width));
    y = std::max(0, std::min(y, platform::kScreenHeight - height));
    POINT p{x, y};
    HWND parent = GetParent(wnd);
    if ((platform::controls::Style(wnd) & WS_CHILD) != 0 && parent != nullptr) {
        ScreenToClient(parent, &p);
    }
    SetWindowPos(wnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
