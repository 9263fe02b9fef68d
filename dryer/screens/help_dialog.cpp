// The help dialog "Shutdown Help File - 34": the help picture and the help text of a warning,
// read from "\Hard Disk\WarningBitmaps". While the rear discharge door warning is active the
// picture is the door animation.
#include <algorithm>
#include <string>
#include <vector>

#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace home_panels {

namespace {
constexpr int kHelpScreenNumber = 34;
}  // namespace

WarningHelpState& WarningHelp()
{
    static WarningHelpState state;
    return state;
}

HelpFileNames HelpFilesFor(int node, int index, int activeCode, int doorPhase)
{
    // The six Fan/Heater boards share one set of help files, those of the first.
    constexpr int kFirst = static_cast<int>(NodeId::fanHeater1);
    const int helpNode =
        (node >= kFirst && node <= static_cast<int>(NodeId::fanHeater6)) ? kFirst : node;
    HelpFileNames names;
    names.text =
        Format(L"\\Hard Disk\\WarningBitmaps\\NID_%02d_WARNING_ID_%02d.txt", helpNode, index);
    if (activeCode == kDoorOpenedCode) {
        const int frame = (doorPhase >= 0 && doorPhase <= 2) ? doorPhase : 3;
        names.picture = Format(L"\\Hard Disk\\WarningBitmaps\\IMG_%04d.bmp", 141 + frame);
    } else {
        names.picture =
            Format(L"\\Hard Disk\\WarningBitmaps\\NID_%02d_WARNING_ID_%02d.bmp", helpNode, index);
    }
    return names;
}

std::vector<std::wstring> SplitHelpText(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > kHelpTextLimit) bytes = bytes.first(kHelpTextLimit);
    std::vector<std::wstring> lines;
    std::wstring line;
    for (const std::uint8_t byte : bytes) {
        switch (byte) {
            case '\r': break;  // ends nothing: the line feed adds the line
            case '\t': line += L"    "; break;
            case '\n':
                lines.push_back(line);
                line.clear();
                break;
            default: line += static_cast<wchar_t>(byte); break;
        }
    }
    return lines;  // a last line without a line feed is not shown
}

}  // namespace home_panels

namespace {

using namespace home_panels;

constexpr UINT kMsgPictureMissing = WM_APP + 0x41;

constexpr DialogControl kHelpControls[] = {
    {WC_BUTTON, L"CLOSE", kHelpCloseButton, 299, 130, 45, 20, BS_PUSHBUTTON, 0},
    {WC_LISTBOX, L"", kHelpList, 5, 172, 339, 56, WS_VSCROLL | WS_BORDER, 0},
};

DialogTemplate HelpTemplate()
{
    DialogTemplate t;
    t.caption = L"Shutdown Help File - 34";
    t.x = 0;
    t.y = 0;
    t.width = 350;
    t.height = 236;
    t.style = WS_POPUP | WS_CAPTION;
    t.controls = kHelpControls;
    t.dialogUnits = true;
    return t;
}

int ActiveCode()
{
    const HomePanelInputs in = ReadHomePanelInputs();
    return ActiveWarningCode(in.image);
}

void LoadHelpText(HWND dialog, const HelpFileNames& names)
{
    HWND list = GetDlgItem(dialog, kHelpList);
    std::vector<std::wstring>& shown = WarningHelp().textLines;
    shown.clear();
    HANDLE file = CreateFile(names.text.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        shown.push_back(L"NO TEXT FILE AVAILABLE.");
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.back().c_str()));
        return;
    }
    std::vector<std::uint8_t> bytes(kHelpTextLimit);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    CloseHandle(file);
    bytes.resize(std::min<std::size_t>(read, kHelpTextLimit));
    shown = SplitHelpText(bytes);
    for (const std::wstring& line : shown) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void PaintHelpDialog(HWND dialog)
{
    WarningHelpState& help = WarningHelp();
    const HelpFileNames names = HelpFilesFor(help.node, help.index, ActiveCode(), help.doorPhase);
    {
        platform::Painter paint(dialog, kSilver);
        if (!help.pictureMissing) {
            HBITMAP picture = SHLoadDIBitmap(names.picture.c_str());
            if (picture != nullptr) {
                paint.Bitmap(picture, 10, 0, 500, 400);
                DeleteObject(picture);
            } else {
                // Asked after the paint: a message box never runs inside WM_PAINT.
                help.pictureMissing = true;
                PostMessage(dialog, kMsgPictureMissing, 0, 0);
            }
        }
    }
    if (!help.textLoaded) {
        help.textLoaded = true;
        LoadHelpText(dialog, names);
    }
}

void AskMissingPicture(HWND dialog)
{
    const int answer =
        MessageBox(dialog, L"No help file available for this topic.",
                   L" WARNING HELP FILE INFORMATION", MB_RETRYCANCEL | MB_ICONINFORMATION);
    if (answer == IDRETRY) {
        WarningHelp().pictureMissing = false;
        InvalidateRect(dialog, nullptr, FALSE);
        return;
    }
    EndDialog(dialog, IDCANCEL);
}

void InitHelpDialog(HWND dialog)
{
    WarningHelpState& help = WarningHelp();
    help.dialog = dialog;
    help.pictureMissing = false;
    help.textLoaded = false;
    ScreenManagerState().entryContext = kHelpScreenNumber;
    ScreenManagerState().entryContextValid = true;
    CenterWindowOver(dialog, GetParent(dialog));
}

INT_PTR HelpDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: InitHelpDialog(dialog); return TRUE;
        case WM_ERASEBKGND: return TRUE;
        case WM_PAINT: PaintHelpDialog(dialog); return TRUE;
        case kMsgPictureMissing: AskMissingPicture(dialog); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == kHelpCloseButton) {
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            break;
        case WM_DESTROY: WarningHelp().dialog = nullptr; return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenWarningHelpDialog(HWND owner, int node, int index, bool fromHistory)
{
    WarningHelpState& help = WarningHelp();
    if (help.dialog != nullptr) return -1;  // one help dialog at a time
    help.node = node;
    help.index = index;
    help.fromHistory = fromHistory;
    const INT_PTR result =
        DialogBoxIndirectParam(nullptr, HelpTemplate(), owner, &HelpDialogProc, 0);
    help.dialog = nullptr;
    help.fromHistory = false;
    return result;
}
