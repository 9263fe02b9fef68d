// The leave button and the note of the full-screen set-up screens.
#include "dryer/setup/selection_leave.h"

#include "dryer/screens/screen_manager.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

void CreateLeaveButton(HWND screen, BitmapButtonSet& faces, int id, int x, int y)
{
    CreateBitmapButton(screen, Screens().instance, L"EXIT", id, x, y, 159, 41);
    const ButtonFace face[] = {{id, kBitmapExitUp, kBitmapExitDown}};
    faces.Load(Screens().instance, face);
}

void PaintComingNote(HWND screen, const wchar_t* note)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(screen, &ps);
    RECT r;
    GetClientRect(screen, &r);
    r.bottom = r.bottom / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kSilver);
    DrawText(dc, note, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(screen, &ps);
}
