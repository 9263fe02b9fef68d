// Empty bodies of the service screens' operations that the ticks call (the moisture view);
// that screen replaces them with the real ones. The system information screen's repaint lives
// with it in dryer/setup/system_information.cpp.
#include "dryer/records/data_log_hooks.h"

void ResetMoistureViewState() {}
