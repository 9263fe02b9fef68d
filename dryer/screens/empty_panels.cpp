// The home panels that paint nothing of their own: the hidden owner window of the moisture
// setpoint and dipswitch dialogs, and the strip behind the five buttons.
#include "dryer/screens/screen_procs.h"
#include "platform/windowing/window.h"

LRESULT LineGraphProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT ButtonBarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}
