// Modal dialogs from templates written as C++ tables, and message boxes drawn by the platform.
#pragma once

#include <span>

#include "platform/win_types.h"
#include "platform/windowing/window.h"

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

inline constexpr DWORD DS_CENTER = 0x0800;  // centre over the owner when the dialog opens

// One control of a dialog template; rectangles are in pixels of the dialog's client area,
// or in dialog units when the template says so.
struct DialogControl {
    const wchar_t* className = nullptr;  // L"button", L"static", L"listbox", ...
    const wchar_t* text = nullptr;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;  // WS_CHILD | WS_VISIBLE are added
    DWORD exStyle = 0;
};

struct DialogTemplate {
    const wchar_t* caption = nullptr;
    int x = 0, y = 0, width = 0, height = 0;  // outer size; position relative to the owner
    DWORD style = WS_POPUP | WS_CAPTION;
    DWORD exStyle = 0;
    std::span<const DialogControl> controls;
    bool dialogUnits = false;  // when true, x is multiplied by 3/2 and y by 13/8 (8 pt font)
    COLORREF background = 0x00C0C0C0;
};

// Runs the dialog modally in a nested message loop (timers keep running) and returns the
// value given to EndDialog. The owner is disabled meanwhile. WM_INITDIALOG reaches the
// procedure with lParam = param after the controls exist; a procedure returning FALSE for a
// message leaves it to the default handling. Returns -1 when the dialog cannot be made.
// A procedure that paints the dialog itself returns TRUE for WM_PAINT (the default paints the
// whole client in the template's background colour). A WM_QUIT met by the dialog's loop ends
// the dialog with IDCANCEL and is posted again for the loops outside.
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate& tmpl, HWND owner,
                               DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
// Centres a window over another (half the difference of the sizes; a negative offset is 0).
void CenterWindowOver(HWND wnd, HWND over);

// ---- message boxes ----
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_APPLMODAL = 0x0;
inline constexpr UINT MB_SETFOREGROUND = 0x10000;
inline constexpr UINT MB_TOPMOST = 0x40000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Modal, drawn by the platform: caption, text with line breaks and tabs, an icon and the
// buttons of the set. Returns the id of the pressed button.
int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
