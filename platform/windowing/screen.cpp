// The panel's screen: an SDL window of 640 x 480 (scaled on desktop screens) whose mouse and
// touch become taps and holds, or a headless image for tests and servers. The user-interface
// thread sleeps in the back end until input, a posted message or the next timer.
#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/controls/detail_builtin.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace platform::detail {
bool StartControlSocket(const std::string& path);
void StopControlSocket();
}  // namespace platform::detail

namespace {

using platform::detail::Backend;
using platform::detail::PointerKind;

// Sleeps on a condition variable; a wake that comes before the wait is kept, not lost.
class HeadlessBackend final : public Backend {
public:
    void PumpInput() override {}
    void Wait(int timeoutMs) override
    {
        std::unique_lock lock(mu_);
        if (timeoutMs < 0) {
            cv_.wait(lock, [&] { return woken_; });
        } else {
            cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return woken_; });
        }
        woken_ = false;
    }
    void Wake() override
    {
        {
            std::lock_guard lock(mu_);
            woken_ = true;
        }
        cv_.notify_all();
    }
    bool WantsPresent() const override { return false; }
    void Present(cairo_surface_t*, const std::vector<RECT>&) override {}

private:
    std::mutex mu_;
    std::condition_variable cv_;
    bool woken_ = false;
};

// Set when the window system refused a request on our window: on X11 that is a window
// destroyed by someone else (a window manager, xdotool windowclose). The default X handler
// would end the process on the spot, with files open and the link running.
std::atomic<bool> g_windowLost{false};

#if defined(SDL_VIDEO_DRIVER_X11)
int OnXError(Display*, XErrorEvent*)
{
    g_windowLost = true;
    return 0;  // ignored on purpose: the loop ends the program in order
}
#endif

// Routes the window system's errors on the window to g_windowLost.
void WatchForLostWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) return;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) XSetErrorHandler(OnXError);
#endif
}

// The window's scale factor: the one asked for (0: as large as it can be), reduced so that the
// window fits the usable part of the first display.
int FittingScale(int asked)
{
    int fits = 8;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        fits = std::max(
            1, std::min(usable.w / platform::kScreenWidth, usable.h / platform::kScreenHeight));
    }
    if (asked <= 0) return fits;
    if (asked > fits) {
        std::fprintf(stderr, "panel: scale %d does not fit the screen; using %d\n", asked, fits);
        return fits;
    }
    return asked;
}

unsigned VirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<unsigned>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<unsigned>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70u + static_cast<unsigned>(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SLASH: return VK_OEM_2;
        case SDLK_SPACE: return 0x20;
        case SDLK_BACKSPACE: return 0x08;
        case SDLK_TAB: return 0x09;
        case SDLK_LEFT: return 0x25;
        case SDLK_UP: return 0x26;
        case SDLK_RIGHT: return 0x27;
        case SDLK_DOWN: return 0x28;
        default: return 0;
    }
}

// An SDL window; the user-interface thread waits in SDL_WaitEventTimeout and other threads
// wake it with a user event.
class SdlBackend final : public Backend {
public:
    bool Open(const platform::ScreenOptions& o)
    {
        SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "1");  // touches arrive as the left button
        // The tap that brings the window to the front under a window manager also presses
        // what it lands on, as on the panel itself.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // The picture goes straight into the window's own framebuffer (shared memory on X11):
        // no renderer, so no OpenGL stack is loaded for a 640 x 480 picture.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        const int scale = o.fullscreen ? 1 : FittingScale(o.scale);
        window_ = SDL_CreateWindow(o.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   platform::kScreenWidth * scale, platform::kScreenHeight * scale,
                                   o.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (window_ == nullptr) return Fail();
        if (o.fullscreen) SDL_ShowCursor(SDL_DISABLE);  // a touch panel has no pointer
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        box_ = PictureBox(width, height);
        // The panel is drawn at the window's scale, so that text and lines are drawn sharp
        // rather than enlarged; a full screen takes the largest whole scale that fits, and
        // the picture is stretched from there.
        platform::detail::SetPaintScale(o.fullscreen ? std::max(1, box_.w / platform::kScreenWidth)
                                                     : scale);
        if (SDL_GetWindowSurface(window_) == nullptr) return Fail();
        if (wakeEvent_ == static_cast<Uint32>(-1)) wakeEvent_ = SDL_RegisterEvents(1);
        g_windowLost = false;
        WatchForLostWindow(window_);
        presented_ = false;
        open_ = true;
        return true;
    }
    void Close()
    {
        open_ = false;
        Fail();
    }
    void PumpInput() override
    {
        SDL_Event e;
        while (SDL_PollEvent(&e) != 0) Handle(e);
        CheckLost();
    }
    void Wait(int timeoutMs) override
    {
        SDL_Event e;
        const int got = timeoutMs < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeoutMs);
        if (got != 0) Handle(e);
        CheckLost();
    }
    void Wake() override
    {
        if (!open_ || wakeEvent_ == static_cast<Uint32>(-1)) return;
        SDL_Event e{};
        e.type = wakeEvent_;
        SDL_PushEvent(&e);  // a full queue already wakes the loop; the failure is ignored
    }
    bool WantsPresent() const override { return open_ && !g_windowLost; }
    void Present(cairo_surface_t* screen, const std::vector<RECT>& parts) override
    {
        if (!open_ || g_windowLost || screen == nullptr || parts.empty()) return;
        // The window's surface is fetched each time: it is made anew when the window resizes.
        SDL_Surface* target = SDL_GetWindowSurface(window_);
        if (target == nullptr) return;  // ignored on purpose: the next change presents again
        cairo_surface_flush(screen);
        SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
            cairo_image_surface_get_data(screen), cairo_image_surface_get_width(screen),
            cairo_image_surface_get_height(screen), 32, cairo_image_surface_get_stride(screen),
            SDL_PIXELFORMAT_RGB888);
        if (picture == nullptr) return;
        const SDL_Rect box = PictureBox(target->w, target->h);
        const RECT& first = parts.front();
        const bool whole =
            box.x != box_.x || box.y != box_.y || box.w != box_.w || box.h != box_.h ||
            !presented_ ||
            (first.left <= 0 && first.top <= 0 && first.right >= platform::kScreenWidth &&
             first.bottom >= platform::kScreenHeight);
        box_ = box;
        presented_ = true;
        if (whole) {
            if (box.w != target->w || box.h != target->h) {
                SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));  // the bars
            }
            Copy(picture, SDL_Rect{0, 0, picture->w, picture->h}, target, box);
            SDL_UpdateWindowSurface(window_);
        } else {
            // Only the changed parts are copied and handed to the display.
            const int scale = picture->w / platform::kScreenWidth;
            std::vector<SDL_Rect> shown;
            for (const RECT& part : parts) {
                const SDL_Rect from{part.left * scale, part.top * scale,
                                    (part.right - part.left) * scale,
                                    (part.bottom - part.top) * scale};
                shown.push_back(WindowPart(part));
                Copy(picture, from, target, shown.back());
            }
            SDL_UpdateWindowSurfaceRects(window_, shown.data(), static_cast<int>(shown.size()));
        }
        SDL_FreeSurface(picture);
    }

private:
    // Where the 640 x 480 picture goes in a window surface of this size: all of it in a window
    // of the picture's shape; scaled to fit and centred between black bars on a display of
    // another shape.
    static SDL_Rect PictureBox(int width, int height)
    {
        const double scale = std::min(static_cast<double>(width) / platform::kScreenWidth,
                                      static_cast<double>(height) / platform::kScreenHeight);
        const int w = static_cast<int>(platform::kScreenWidth * scale);
        const int h = static_cast<int>(platform::kScreenHeight * scale);
        return SDL_Rect{(width - w) / 2, (height - h) / 2, w, h};
    }
    static void Copy(SDL_Surface* picture, SDL_Rect from, SDL_Surface* target, SDL_Rect to)
    {
        if (to.w == from.w && to.h == from.h) {
            SDL_BlitSurface(picture, &from, target, &to);
        } else {
            SDL_BlitScaled(picture, &from, target, &to);
        }
    }
    // Where a part of the panel (panel pixels) lies in the window.
    SDL_Rect WindowPart(const RECT& area) const
    {
        const int left = box_.x + area.left * box_.w / platform::kScreenWidth;
        const int top = box_.y + area.top * box_.h / platform::kScreenHeight;
        const int right =
            box_.x + (area.right * box_.w + platform::kScreenWidth - 1) / platform::kScreenWidth;
        const int bottom =
            box_.y + (area.bottom * box_.h + platform::kScreenHeight - 1) / platform::kScreenHeight;
        return SDL_Rect{left, top, right - left, bottom - top};
    }
    // A window position as a point of the picture.
    int PictureX(int x) const { return (x - box_.x) * platform::kScreenWidth / box_.w; }
    int PictureY(int y) const { return (y - box_.y) * platform::kScreenHeight / box_.h; }
    // A window taken away from outside ends the program like a close does.
    void CheckLost()
    {
        if (!g_windowLost || quitForLoss_) return;
        quitForLoss_ = true;
        std::fprintf(stderr, "panel: the window was closed from outside; ending\n");
        PostQuitMessage(0);
    }
    bool Fail()
    {
        if (window_ != nullptr) SDL_DestroyWindow(window_);  // its surface goes with it
        window_ = nullptr;
        return false;
    }
    void Handle(const SDL_Event& e)
    {
        switch (e.type) {
            case SDL_QUIT: PostQuitMessage(0); break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button != SDL_BUTTON_LEFT) break;
                down_ = true;
                platform::detail::QueuePointer(PointerKind::Down, PictureX(e.button.x),
                                               PictureY(e.button.y));
                break;
            case SDL_MOUSEMOTION:
                if (!down_) break;
                platform::detail::QueuePointer(PointerKind::Move, PictureX(e.motion.x),
                                               PictureY(e.motion.y));
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.button != SDL_BUTTON_LEFT) break;
                down_ = false;
                platform::detail::QueuePointer(PointerKind::Up, PictureX(e.button.x),
                                               PictureY(e.button.y));
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const unsigned vk = VirtualKey(e.key.keysym.sym);
                if (vk == 0) break;
                platform::detail::QueueKey(vk, (e.key.keysym.mod & KMOD_ALT) != 0,
                                           e.type == SDL_KEYDOWN);
                break;
            }
            case SDL_WINDOWEVENT: platform::detail::MarkScreenChanged(); break;
            default: break;
        }
    }

    SDL_Window* window_ = nullptr;
    // Where the picture was last shown in the window (input is mapped through it).
    SDL_Rect box_{0, 0, platform::kScreenWidth, platform::kScreenHeight};
    bool down_ = false;
    bool quitForLoss_ = false;
    bool presented_ = false;  // the window has shown the whole picture once
    std::atomic<bool> open_{false};
    Uint32 wakeEvent_ = static_cast<Uint32>(-1);
};

// Back ends live for the process: other threads may still wake one after the screen closed.
HeadlessBackend& Headless()
{
    static HeadlessBackend* b = new HeadlessBackend();
    return *b;
}
SdlBackend& Sdl()
{
    static SdlBackend* b = new SdlBackend();
    return *b;
}
std::atomic<Backend*> g_backend{nullptr};
std::atomic<bool> g_headless{true};

}  // namespace

namespace platform::detail {

Backend& CurrentBackend()
{
    Backend* b = g_backend.load();
    return b != nullptr ? *b : Headless();
}

}  // namespace platform::detail

namespace platform {

bool OpenScreen(const ScreenOptions& options)
{
    detail::BindUiThread();
    bool headless = options.headless;
    if (!headless && !Sdl().Open(options)) {
        std::fprintf(stderr, "panel: no display could be opened (%s); running headless\n",
                     SDL_GetError());
        headless = true;
    }
    g_headless = headless;
    g_backend = headless ? static_cast<Backend*>(&Headless()) : &Sdl();
    RegisterBuiltinControlClasses();
    detail::MarkScreenChanged();
    if (!options.controlSocket.empty() && !detail::StartControlSocket(options.controlSocket)) {
        return false;
    }
    return true;
}

void CloseScreen()
{
    detail::StopControlSocket();
    detail::ResetWindowSystem();
    if (!g_headless.load()) Sdl().Close();
    detail::SetPaintScale(1);
    g_backend = &Headless();
    g_headless = true;
}

bool ScreenIsHeadless()
{
    return g_headless.load();
}

bool ScreenIsOpen()
{
    return detail::HasUiThread();
}

bool SaveScreenshot(const std::filesystem::path& png)
{
    bool ok = false;
    const bool ran = detail::RunOnUiThread([&] {
        cairo_surface_t* screen = detail::ComposeScreen();
        ok = cairo_surface_write_to_png(screen, png.c_str()) == CAIRO_STATUS_SUCCESS;
    });
    return ran && ok;
}

}  // namespace platform
