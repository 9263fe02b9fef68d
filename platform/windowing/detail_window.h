// Internal seams of the window system: what drawing, the screen back ends and automation need
// from the windows and their message loop, and what the windows need from them. Not for
// application code.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/win_types.h"

namespace platform::detail {

// ---- cairo surfaces as owned values ----
struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A 32-bit image (cairo RGB24) of the given size, at least 1 x 1, filled black: one pixel per
// panel pixel, for pictures read from files.
SurfacePtr MakeImage(int width, int height);
// Windows, memory bitmaps and the composed screen are drawn at the paint scale: so many device
// pixels per panel pixel (1 headless; the window's scale on a desktop screen), so that text and
// lines stay sharp in a larger window. Drawing code works in panel pixels all the same.
int PaintScale();
void SetPaintScale(int scale);  // before the first window; 1 to 8
// An image to draw on, width x height panel pixels at the paint scale, filled black.
SurfacePtr MakeCanvas(int width, int height);
// The size of an image in panel pixels.
SIZE PanelSizeOf(cairo_surface_t* surface);

// ---- window canvas (window_paint.cpp) ----
// The backing image of a window and where its client area lies in it.
struct WindowCanvas {
    cairo_surface_t* surface = nullptr;  // borrowed; valid while the window lives
    POINT clientOrigin;                  // client (0, 0) in the image
    SIZE clientSize;
};
std::optional<WindowCanvas> CanvasOf(HWND wnd);
// A text drawn on the window (client coordinates); part of its last paint texts.
void RecordWindowText(HWND wnd, const DrawnText& text);
// A picture copied into the window (client coordinates); part of its last paint pictures.
void RecordWindowPicture(HWND wnd, const DrawnPicture& picture);
// Something opaque was drawn over `area` of the window (client coordinates): the texts and
// pictures of its last paint that lie wholly under it are gone.
void CoverWindowArea(HWND wnd, const RECT& area);
// Something visible changed: the whole screen is composed and shown again before the next wait.
void MarkScreenChanged();
// A window drew on this part of its client area: only that part of the screen is shown again.
void MarkWindowAreaChanged(HWND wnd, const RECT& clientArea);

// ---- device contexts on windows and frames (platform/drawing) ----
// A context drawing on the window's client area, clipped to `clip` (client coordinates).
HDC CreateWindowDc(HWND wnd, const RECT& clip);
// Draws the title bar and border of a window into its image (the window table calls it).
void DrawWindowFrame(cairo_surface_t* surface, int width, int height, int captionHeight, int border,
                     const std::wstring& title, bool active);

// ---- message loop, input and timers (platform/windowing) ----
enum class PointerKind { Down, Move, Up };
void QueuePointer(PointerKind kind, int x, int y);        // thread-safe; screen coordinates
void QueueKey(unsigned virtualKey, bool alt, bool down);  // thread-safe
// Runs fn on the user-interface thread (at once when called there) and waits for it.
// False when it could not run (no loop answering within a real-time guard).
bool RunOnUiThread(const std::function<void()>& fn);
// Earliest timer deadline (panel ms), if any timer runs.
std::optional<std::int64_t> NextTimerDeadline();
// Composes the visible windows into the screen image within `area` (screen coordinates) and
// returns the image (user-interface thread); the rest of the image keeps what it showed.
cairo_surface_t* ComposeScreen(const RECT& area = RECT{0, 0, kScreenWidth, kScreenHeight});
// The parts of the screen changed since the last call (none: nothing changed), forgotten.
std::vector<RECT> TakeScreenChanges();
// Something besides the back end that shows the screen (the browser view): after each present
// the user-interface thread hands it the composed screen and the parts that changed. It must
// copy what it needs and return at once. While one is set, a headless screen is composed too.
// Setting one (from any thread) shows it the whole screen with the next present; empty: none.
using ScreenWatcher = std::function<void(cairo_surface_t* screen, const std::vector<RECT>& parts)>;
void SetScreenWatcher(ScreenWatcher watcher);
// Makes the calling thread the user-interface thread (OpenScreen) or releases it.
void BindUiThread();
bool HasUiThread();
// Marks the loop busy and wakes it (after the virtual clock moved).
void KickLoop();
// Destroys every window and timer, empties the queues, forgets program classes and releases
// the user-interface thread, so that another screen can be opened in the same process.
void ResetWindowSystem();

// ---- inspection (platform/windowing) ----
std::vector<HWND> TopLevelFrontToBack();
std::vector<HWND> ChildrenFrontToBack(HWND wnd);
std::vector<DrawnText> LastPaintTexts(HWND wnd);        // screen coordinates
std::vector<DrawnPicture> LastPaintPictures(HWND wnd);  // screen coordinates
bool IsBuiltinControlClass(const std::wstring& name);
// Waits until the loop is blocked in GetMessage with nothing due (real-time guard of a few
// seconds); on the user-interface thread it handles what is pending instead.
bool WaitLoopIdle();
// The loop has ended for good (the screen is closing): whoever waits for it to go idle stops
// waiting, so that an automation command that ended the program still gets its answer.
void ReleaseIdleWaiters();

// ---- back ends (screen.cpp) ----
class Backend {
public:
    virtual ~Backend() = default;
    // Moves pending host input into the window system (QueuePointer/QueueKey).
    virtual void PumpInput() = 0;
    // Sleeps until Wake() or the timeout (milliseconds; negative: no timeout).
    virtual void Wait(int timeoutMs) = 0;
    // Wakes a Wait from any thread.
    virtual void Wake() = 0;
    // Shows the composed screen; false when the back end shows nothing (headless).
    virtual bool WantsPresent() const = 0;
    // `parts`: the parts of the screen (panel pixels) changed since the last present.
    virtual void Present(cairo_surface_t* screen, const std::vector<RECT>& parts) = 0;
};
// The back end of the open screen; a headless one before OpenScreen.
Backend& CurrentBackend();

}  // namespace platform::detail
