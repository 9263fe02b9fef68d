// Installing a software release from the USB flash drive: the install command of the main
// window (look for release folders, offer the newest or a list, search up to 90 s for a slow
// drive, offer to delete old releases, then copy the release on a worker thread into the
// install dialog), and the main window's 1-second tick that drives the search.
#pragma once

#include "platform/win_types.h"

// The main window's install command: the USB check and everything that follows from it.
void InstallFromUsb(HWND mainWindow);

// The main window's 1-second timer tick: one step of the drive search while it runs.
void UsbSearchTick(HWND mainWindow);

// Forgets every trace of an earlier install (search state, lists, selected release), for
// tests that run the program more than once in one process.
void ResetUsbInstall();
