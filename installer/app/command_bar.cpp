// The command bar along the top of CopyOrbitFiles' main window: the menu titles "&File" and
// "&Help", each dropping down its one item ("E&xit", "&About") as a button under the title,
// and the close box at the right end. An item sends its menu command to the main window; any
// command or a tap elsewhere on the window folds the menus up again.
#include <array>
#include <string>

#include "installer/app/copy_orbit_files.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kTitleWidth = 56;
constexpr int kItemWidth = 96;
constexpr int kCloseBoxWidth = 26;

struct Menu {
    int title;            // control id of the menu title
    const wchar_t* name;  // with the mnemonic marker, as the menu resource has it
    int item;             // the item's command
    const wchar_t* itemName;
    int x;
};

constexpr std::array<Menu, 2> kMenus = {{
    {kBarFileMenu, L"&File", kCmdFileExit, L"E&xit", 0},
    {kBarHelpMenu, L"&Help", kCmdHelpAbout, L"&About", kTitleWidth},
}};

// The text shown: the mnemonic marker "&" is not drawn ("&&" is one "&").
std::wstring Shown(const wchar_t* name)
{
    std::wstring out;
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (*c == L'&' && c[1] != L'\0') ++c;
        out += *c;
    }
    return out;
}

const Menu* MenuOfTitle(int id)
{
    for (const Menu& m : kMenus) {
        if (m.title == id) return &m;
    }
    return nullptr;
}

}  // namespace

void CreateCommandBar(HWND main)
{
    for (const Menu& m : kMenus) {
        CreateWindowEx(0, WC_BUTTON, Shown(m.name).c_str(), WS_CHILD | BS_PUSHBUTTON, m.x, 0,
                       kTitleWidth, kCommandBarHeight, main, m.title, nullptr, nullptr);
        CreateWindowEx(0, WC_BUTTON, Shown(m.itemName).c_str(), WS_CHILD | BS_PUSHBUTTON, m.x,
                       kCommandBarHeight, kItemWidth, kCommandBarHeight, main, m.item, nullptr,
                       nullptr);
    }
    RECT client;
    GetClientRect(main, &client);
    CreateWindowEx(0, WC_BUTTON, L"X", WS_CHILD | BS_PUSHBUTTON, client.right - kCloseBoxWidth, 0,
                   kCloseBoxWidth, kCommandBarHeight, main, kBarCloseBox, nullptr, nullptr);
}

void ShowCommandBar(HWND main)
{
    for (const Menu& m : kMenus) ShowWindow(GetDlgItem(main, m.title), SW_SHOW);
    ShowWindow(GetDlgItem(main, kBarCloseBox), SW_SHOW);
}

void CloseMenus(HWND main)
{
    for (const Menu& m : kMenus) ShowWindow(GetDlgItem(main, m.item), SW_HIDE);
}

bool OnCommandBar(HWND main, int id)
{
    if (id == kBarCloseBox) {
        CloseMenus(main);
        PostMessage(main, WM_CLOSE, 0, 0);
        return true;
    }
    const Menu* menu = MenuOfTitle(id);
    if (menu == nullptr) return false;
    // A tap on the title of the open menu folds it up; on another title it opens that one.
    HWND item = GetDlgItem(main, menu->item);
    const bool wasOpen = IsWindowVisible(item) != FALSE;
    CloseMenus(main);
    if (!wasOpen)
        SetWindowPos(item, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return true;
}

void PaintCommandBar(HDC dc, int width)
{
    RECT bar{0, 0, width, kCommandBarHeight};
    HBRUSH face = CreateSolidBrush(RGB(212, 208, 200));
    FillRect(dc, &bar, face);
    DeleteObject(face);
    HPEN edge = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ old = SelectObject(dc, edge);
    MoveToEx(dc, 0, kCommandBarHeight - 1, nullptr);
    LineTo(dc, width, kCommandBarHeight - 1);
    SelectObject(dc, old);
    DeleteObject(edge);
}
