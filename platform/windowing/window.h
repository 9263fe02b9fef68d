// Windows, window classes, messages, timers and painting of the panel.
//
// All windows belong to the user-interface thread. The calls marked thread-safe may be made
// from any thread (the communication thread invalidates windows and posts messages).
#pragma once

#include "platform/win_types.h"

// ---- messages ----
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_DRAWITEM = 0x002B;
// List boxes take a font (wParam: HFONT, null for the standard one) and give it back.
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// ---- window styles ----
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;  // title bar showing the window's title
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;

inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_NODRAG = 0x40000000;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_NOCLOSE = 0x0200;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ShowWindow commands
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;

// SetWindowPos
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(~std::uintptr_t{0});
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// GetWindowLong indices
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_USERDATA = -21;

// mouse key state in wParam of mouse messages
inline constexpr WPARAM MK_LBUTTON = 0x0001;

// virtual keys
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_F4 = 0x73;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_OEM_2 = 0xBF;  // the "/" key

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    int iconId = 0;                   // icon resource id (kept, not drawn)
    HGDIOBJ hbrBackground = nullptr;  // brush that WM_ERASEBKGND fills the client with
    const wchar_t* lpszMenuName = nullptr;
    const wchar_t* lpszClassName = nullptr;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    LONG style = 0;
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
};

// ---- classes and windows ----
// Registering a class name twice fails (returns 0) and keeps the first registration.
ATOM RegisterClass(const WNDCLASS* wc);
// For child windows the menu argument carries the control id (as in the system API).
HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, std::intptr_t menuOrId,
                    HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);
BOOL ShowWindow(HWND wnd, int command);  // returns whether it was visible before
BOOL IsWindowVisible(HWND wnd);          // visible itself and all its parents
BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL SetWindowText(HWND wnd, const wchar_t* text);
int GetWindowText(HWND wnd, wchar_t* out, int maxChars);
int GetWindowTextLength(HWND wnd);
BOOL EnableWindow(HWND wnd, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND wnd);
HWND FindWindow(const wchar_t* className, const wchar_t* title);  // either may be null
BOOL SetForegroundWindow(HWND wnd);  // raises the top-level window (low bit of handle ignored)
HWND GetForegroundWindow();
HWND GetParent(HWND wnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND wnd);
BOOL GetClientRect(HWND wnd, RECT* out);  // origin 0, 0
BOOL GetWindowRect(HWND wnd, RECT* out);  // screen coordinates
BOOL ClientToScreen(HWND wnd, POINT* p);
BOOL ScreenToClient(HWND wnd, POINT* p);
LONG GetWindowLong(HWND wnd, int index);
LONG SetWindowLong(HWND wnd, int index, LONG value);
std::intptr_t GetWindowLongPtr(HWND wnd, int index);
std::intptr_t SetWindowLongPtr(HWND wnd, int index, std::intptr_t value);
int GetClassName(HWND wnd, wchar_t* out, int maxChars);
HWND SetCapture(HWND wnd);
BOOL ReleaseCapture();
HWND SetFocus(HWND wnd);
int GetSystemMetrics(int index);  // SM_CXSCREEN 640, SM_CYSCREEN 480
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// ---- messages ----
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);  // thread-safe
void PostQuitMessage(int exitCode);
// Waits (sleeping, no busy loop) for the next message: posted messages first, then input,
// then due timers, then paints of invalidated windows. Returns FALSE on WM_QUIT.
BOOL GetMessage(MSG* msg, HWND wnd, UINT first, UINT last);
inline constexpr UINT PM_NOREMOVE = 0;
inline constexpr UINT PM_REMOVE = 1;
BOOL PeekMessage(MSG* msg, HWND wnd, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// ---- timers ----
// Periods run on the panel clock; timers keep firing inside modal dialogs and message boxes.
// With a callback the callback runs, else WM_TIMER goes to the window.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT periodMs, TIMERPROC callback);
BOOL KillTimer(HWND wnd, UINT_PTR id);

// ---- painting ----
// Paint requests are coalesced: a window has one dirty rectangle (the union) and gets one
// WM_PAINT when the queue is otherwise empty. A null rect means the whole client area.
BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase);  // thread-safe
BOOL ValidateRect(HWND wnd, const RECT* rect);
BOOL UpdateWindow(HWND wnd);  // paints now if dirty
HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND wnd);
int ReleaseDC(HWND wnd, HDC dc);

// ---- accelerators ----
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;
struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};
HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
// Turns a matching key message into WM_COMMAND (command id in the low word, 1 in the high
// word) sent to the window. Returns TRUE when the message was translated.
int TranslateAccelerator(HWND wnd, HACCEL table, const MSG* msg);

namespace platform {

// Invalidates the window of this class if it exists and is visible. Thread-safe; this is how
// the link decoder asks screens to repaint without knowing them.
void InvalidateWindowClass(const wchar_t* className, const RECT* rect, BOOL erase);

// True while called on the thread that owns the windows.
bool OnUiThread();

}  // namespace platform
