// What the three drying mode dialogs share: the handle of the open selection dialog, where a
// dialog opens, the working copies of the fields they edit, and the indicator and enable helpers
// their refreshes use.
#pragma once

#include <initializer_list>

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"

// The open "Drying Mode Selection - 07" dialog, null while it is closed: a set-up dialog that
// accepts closes it too.
extern HWND DryingModeSelectionWindow;

// Centres the dialog on its owner (on the screen without one), 20 pixels above the centre; a
// position left of or above the screen becomes 0, and a dialog larger than its owner stays on
// the screen.
void PlaceDryingModeDialog(HWND dialog, HWND owner);

// The field as the dialogs read it without editing it: the desired value while a change is on
// its way, else the image's.
int CurrentValue(ImageField field);

// Ends the accepting set-up dialog and, when it is open, the selection dialog under it
// (result 0).
void CloseDryingModeChain(HWND setupDialog);

// Opens the temperature keypad on the maximum grain temperature (batchWord277): 100 to 200 F,
// default 150 F. Both set-up dialogs have the button.
void EditMaxGrainTemperature(HWND dialog);

// Control helpers.
void ShowChecked(HWND dialog, int id, bool checked);
void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable);
