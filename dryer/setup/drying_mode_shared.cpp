// The pieces the three drying mode dialogs share.
#include "dryer/setup/drying_mode_shared.h"

#include <algorithm>

#include "dryer/link/pending_command.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/controls/controls.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

HWND DryingModeSelectionWindow = nullptr;

namespace {

constexpr int kAboveCentre = 20;  // the dialogs open this far above the owner's centre

// The maximum grain temperature limit, whole degrees F.
constexpr int kMaxGrainTempMinimum = 100;
constexpr int kMaxGrainTempMaximum = 200;
constexpr int kMaxGrainTempDefault = 150;

}  // namespace

void PlaceDryingModeDialog(HWND dialog, HWND owner)
{
    RECT own;
    if (GetWindowRect(dialog, &own) == FALSE) return;
    RECT area{0, 0, platform::kScreenWidth, platform::kScreenHeight};
    if (owner != nullptr && GetWindowRect(owner, &area) == FALSE) {
        area = RECT{0, 0, platform::kScreenWidth, platform::kScreenHeight};
    }
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2 - kAboveCentre;
    x = std::max(0, std::min(x, platform::kScreenWidth - width));
    y = std::max(0, std::min(y, platform::kScreenHeight - height));
    MoveWindow(dialog, x, y, width, height, FALSE);
}

int CurrentValue(ImageField field)
{
    return PendingCommand.IsSet(field.pending) ? Value(DesiredSettings, field)
                                               : Value(DryerImage, field);
}

void EditMaxGrainTemperature(HWND dialog)
{
    OpenTemperatureKeypad(dialog, TemperatureSetpoint{batchWord277, kMaxGrainTempMinimum,
                                                      kMaxGrainTempMaximum, kMaxGrainTempDefault});
}

void CloseDryingModeChain(HWND setupDialog)
{
    if (DryingModeSelectionWindow != nullptr) EndDialog(DryingModeSelectionWindow, 0);
    EndDialog(setupDialog, IDOK);
}

void ShowChecked(HWND dialog, int id, bool checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable)
{
    for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}
