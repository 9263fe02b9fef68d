// The timer screen " SELECT TIMER TO MODIFY - 01": four pages, one per delay timer.
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/selection_leave.h"
#include "platform/windowing/window.h"

namespace {

BitmapButtonSet gFaces;

}  // namespace

LRESULT TimerSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateLeaveButton(wnd, gFaces, kTimerSelectExit, 240, 390); return 0;
        case WM_DESTROY: gFaces.Release(); break;
        case WM_DRAWITEM:
            if (gFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintComingNote(wnd, L"Timer pages"); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kTimerSelectExit) {
                ReturnToHome(wnd);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
