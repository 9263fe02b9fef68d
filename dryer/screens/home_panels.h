// The home screen's live panels (dryer picture, plenum panel, dryer state line) and the
// warning window with its help dialog and the shutdown / connection-lost panels.
#pragma once

#include <span>

#include "platform/resources.h"
#include "platform/win_types.h"

LRESULT DryerPicProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT PlenumPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DryerStateLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT WarningWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The 100 ms tick's warning banner step: shows or hides the warning window, steps the help
// dialog's door animation and closes the help dialog once the warning clears.
void WarningRaiseLowerTick();

// The artwork of the home panels (dryer bodies, burners, fans, symbols, warning pictures).
std::span<const BitmapResource> HomePanelBitmaps();
