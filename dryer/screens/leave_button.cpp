// The leave button of the full-screen selection and set-up screens.
#include "dryer/screens/leave_button.h"

#include "dryer/screens/screen_manager.h"
#include "resources/orbitdryer/bitmap_ids.h"

void CreateLeaveButton(HWND screen, BitmapButtonSet& faces, int id, int x, int y)
{
    CreateBitmapButton(screen, Screens().instance, L"EXIT", id, x, y, 159, 41);
    const ButtonFace face[] = {{id, kBitmapExitUp, kBitmapExitDown}};
    faces.Load(Screens().instance, face);
}
