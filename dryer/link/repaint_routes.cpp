// The repaint routes: class names of the fixed child windows and the window slots that modal
// screens fill while they are open.
#include "dryer/link/repaint_routes.h"

#include <array>
#include <atomic>

#include "platform/windowing/window.h"

namespace {

constexpr std::array<const wchar_t*, kRepaintTargetCount> kClassNames{
    L"BATCH_DRYING_WINDOW",
    L"DRYER_RIGHT_STATUS_BAR_WINDOW",
    L"DRYER_PIC_WINDOW",
    L"AVERAGE_VALUES_WINDOW",
    L"UNLOAD_STATUS_WINDOW",
    nullptr,  // the speed button registers its window
    L"LINE_GRAPH_WINDOW",
    L"CUSTOM_VIEW_WINDOW",
    L"SETUP_SELECTION_WINDOW",
    nullptr,  // the modal screens register their windows while open
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

std::array<std::atomic<HWND>, kRepaintTargetCount> windows{};
std::atomic<RepaintFn> repaintOverride{nullptr};

std::size_t Index(RepaintTarget target)
{
    return static_cast<std::size_t>(target) % static_cast<std::size_t>(kRepaintTargetCount);
}

}  // namespace

const wchar_t* RepaintClassName(RepaintTarget target)
{
    return kClassNames[Index(target)];
}

void SetRepaintWindow(RepaintTarget target, HWND window)
{
    windows[Index(target)] = window;
}

HWND RepaintWindow(RepaintTarget target)
{
    return windows[Index(target)].load();
}

void InvalidateRoute(RepaintTarget target, const RECT* rect, BOOL erase)
{
    if (const RepaintFn fn = repaintOverride.load()) {
        fn(target, rect, erase);
        return;
    }
    if (const wchar_t* name = kClassNames[Index(target)]) {
        platform::InvalidateWindowClass(name, rect, erase);
    }
    if (const HWND window = windows[Index(target)].load()) InvalidateRect(window, rect, erase);
}

void SetRepaintFunction(RepaintFn fn)
{
    repaintOverride = fn;
}
