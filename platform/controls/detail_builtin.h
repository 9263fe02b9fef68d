// Internal seam between the window system and the built-in control classes ("button",
// "static", "listbox", "SysListView32", "scrollbar", "msctls_progress32", and the message
// box and dialog classes). Not for application code.
#pragma once

namespace platform {

// Registers every built-in control class. The window system calls it once from OpenScreen,
// and lazily when CreateWindowEx meets one of the built-in class names before the screen is
// open. Calling it more than once is harmless (a second registration of a name fails softly).
void RegisterBuiltinControlClasses();

}  // namespace platform
