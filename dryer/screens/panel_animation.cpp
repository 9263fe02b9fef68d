// The home panels' blink flags and animation frames.
#include "dryer/screens/panel_animation.h"

PanelAnimation& Animation()
{
    static PanelAnimation animation;
    return animation;
}
