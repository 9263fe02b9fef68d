// How the answer decoder asks windows to repaint without knowing them: each kind of window the
// decoder feeds has a route, a window class name (the fixed child windows) and a window slot
// that a modal screen fills while it is open. The decoder names routes; invalidation finds
// whatever window stands behind them, so screens built later are reached without touching it.
#pragma once

#include "dryer/link/repaint_target.h"
#include "platform/win_types.h"

// The class name of a route (null for screens that are dialogs without a class of their own).
const wchar_t* RepaintClassName(RepaintTarget target);

// A modal screen registers its window while open and passes null when it closes.
void SetRepaintWindow(RepaintTarget target, HWND window);
HWND RepaintWindow(RepaintTarget target);

// Invalidates the windows behind a route (rect null: all of it). Safe from any thread; a route
// with no window open does nothing.
void InvalidateRoute(RepaintTarget target, const RECT* rect, BOOL erase);

// Tests replace the invalidation to see which routes a decode asked for (null: the real one).
using RepaintFn = void (*)(RepaintTarget target, const RECT* rect, BOOL erase);
void SetRepaintFunction(RepaintFn fn);
