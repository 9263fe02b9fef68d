// The About box of CopyOrbitFiles: the program's icon and its version line, centred over the
// main window; OK or Cancel (Escape) closes it.
#include <array>

#include "installer/app/copy_orbit_files.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr std::array<DialogControl, 3> kAboutControls = {{
    {WC_STATIC, nullptr, kAboutIcon, 16, 18, 32, 32, SS_BITMAP},
    {WC_STATIC, kAboutVersion, kAboutVersionText, 64, 26, 200, 20, SS_LEFT},
    {WC_BUTTON, L"OK", IDOK, 105, 66, 70, 28, BS_DEFPUSHBUTTON},
}};

HBITMAP gIcon = nullptr;  // the icon the box shows while it is open

INT_PTR AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            SendMessage(GetDlgItem(dlg, kAboutIcon), STM_SETIMAGE, 0,
                        reinterpret_cast<LPARAM>(gIcon));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, LOWORD(wp));
                return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

}  // namespace

void OpenAboutBox(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kAboutCaption;
    tmpl.width = 280;
    tmpl.height = 130;
    tmpl.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER;
    tmpl.controls = kAboutControls;
    gIcon = LoadBitmap(nullptr, kCopyIconId);
    DialogBoxIndirectParam(nullptr, tmpl, owner, AboutProc, 0);
    if (gIcon != nullptr) DeleteObject(gIcon);
    gIcon = nullptr;
}
