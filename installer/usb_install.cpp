// The install command and the drive search.
#include "installer/usb_install.h"

void InstallFromUsb(HWND) {}

void UsbSearchTick(HWND) {}

void ResetUsbInstall() {}
