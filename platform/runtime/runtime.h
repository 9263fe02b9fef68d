// The screen of the panel (an SDL window or a headless image), and the inspection and
// automation interface used by tests and by tools through a control socket.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

struct ScreenOptions {
    bool headless = true;
    int scale = 1;  // window scale factor on desktop screens (SDL only); 0: the largest that
                    // fits the screen. A factor larger than fits is reduced to fit.
    // The whole display (the panel itself, or a kiosk session): the picture is scaled to fit,
    // centred with black bars, touches mapped back; no pointer is shown.
    bool fullscreen = false;
    std::string title = "Panel";  // host window title
    std::string controlSocket;    // Unix socket path for automation; empty: none
};

// Opens the screen on the calling thread, which becomes the user-interface thread. Falls back
// to headless (and says so on stderr) when no display can be opened. Returns false only when
// the control socket cannot be opened (ControlSocketError() says why): its path is never taken
// from a file or from another running program, only from a stale socket.
bool OpenScreen(const ScreenOptions& options);
std::string ControlSocketError();
bool ScreenIsHeadless();
// Closes the screen on the user-interface thread: destroys every window and timer, empties the
// queues, stops the control socket and forgets the program's window classes, so that a test can
// open a fresh screen in the same process.
void CloseScreen();
// True between OpenScreen and CloseScreen (any thread may ask).
bool ScreenIsOpen();

// The whole screen as it is composed now, written as PNG. Thread-safe.
bool SaveScreenshot(const std::filesystem::path& png);

// ---- inspection ----
struct DrawnText {
    std::wstring text;
    RECT rect;  // screen coordinates: the lines' cells as laid out (advance width x cell height)
    COLORREF colour;
    // The box the text was laid out in (DrawText's rectangle, ExtTextOut's clipping rectangle,
    // else the drawing surface), and the box its glyphs actually cover where they were placed,
    // without any clipping: an extent beyond the box is text that overflows it.
    RECT box{};
    RECT extent{};
    bool cut = false;  // part of the glyphs fell outside the box or the clip and was not drawn
};
// A picture copied into a window: a bitmap resource, a BMP or PNG file (not a fill, not a
// buffer of the window's own drawing).
struct DrawnPicture {
    // The columns of one row of a picture that are not blank (blank: the colour of its top-left
    // corner), first and last; first > last for a blank row.
    struct InkRow {
        int first;
        int last;
    };
    std::wstring source;  // "#<resource id>" or the picture file's name
    RECT rect;            // screen coordinates
    // The picture's rows (empty when not known, as for a scaled copy) and where its top-left
    // pixel lies (screen coordinates), so that a text can be told from the picture's blank
    // margin.
    std::shared_ptr<const std::vector<InkRow>> ink{};
    POINT inkOrigin{};

    // The part of the picture that is not blank, as a box (the whole rectangle when not known).
    RECT InkBox() const;
    // True when the picture's non-blank pixels reach into `area` (screen coordinates) by more
    // than `margin` pixels across and down.
    bool InkOverlaps(const RECT& area, int margin) const;
};
struct ListRowInfo {
    std::vector<std::wstring> cells;  // one text per column (one for a list box)
    bool selected = false;
};
struct ControlInfo {
    int id = 0;
    std::wstring className;
    std::wstring text;
    RECT rect;  // screen coordinates
    bool visible = false;
    bool enabled = true;
    bool checked = false;
    bool pressed = false;
    // List boxes and list views: every row, also those scrolled out of sight.
    bool isList = false;
    std::vector<std::wstring> columns;  // list views: the header texts
    std::vector<int> columnWidths;      // list views: each column's width in pixels
    std::vector<ListRowInfo> rows;
    int topRow = 0;  // the first row on screen
    // What the control drew in its last paint (captions, list cells, button faces).
    std::vector<DrawnText> texts;
    std::vector<DrawnPicture> pictures;
};
struct WindowInfo {
    std::wstring className;
    std::wstring title;
    RECT rect;  // screen coordinates
    bool topLevel = false;
    bool isMessageBox = false;
    std::wstring messageText;            // message boxes: their text
    std::vector<std::wstring> buttons;   // message boxes: their button labels
    std::vector<ControlInfo> controls;   // child controls with an id
    std::vector<DrawnText> texts;        // texts drawn in its last paint
    std::vector<DrawnPicture> pictures;  // pictures drawn in its last paint
};

// Every visible window, top-most first. Thread-safe (runs on the user-interface thread).
std::vector<WindowInfo> InspectWindows();
std::string InspectWindowsJson();

// ---- automation (thread-safe; each call waits until the user-interface thread is idle) ----
bool Tap(int x, int y);
bool PointerDown(int x, int y);
bool PointerUp(int x, int y);
bool PointerMove(int x, int y);  // while held: the finger slides
bool PressControl(int id);       // a visible, enabled control with this id, top-most window first
// Presses a button of the open message box by its label ("OK", "Yes", "No", "Cancel",
// "Retry"); case-insensitive.
bool AnswerMessageBox(const std::wstring& button);
bool SendKey(unsigned virtualKey, bool alt);

// Waits until the user-interface thread has nothing left to do: no posted message, no due
// timer, no pending paint. Returns false after a real-time guard of a few seconds.
bool WaitIdle();

// Virtual clock: moves time forward in steps from timer deadline to timer deadline, letting
// the user-interface thread handle each step before the next, so every timer fires as often
// as it would in real time. Sleepers on other threads wake as their deadlines pass.
void AdvanceClock(std::int64_t milliseconds);

// One automation command line of the control socket ("tap X Y", "down X Y", "up X Y",
// "press ID", "tree", "answer BUTTON", "screenshot PATH", "key VK [alt]", "advance MS",
// "idle"; platform/runtime/control_command.h) answered as one line of JSON in UTF-8:
// {"ok":true,...} or {"ok":false,"error":"..."}. Any bytes may come in.
std::string RunControlCommand(const std::string& line);

}  // namespace platform
