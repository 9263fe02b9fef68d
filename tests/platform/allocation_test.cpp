// Calls the panel makes on its communication thread for each changed field must not allocate:
// this test binary counts the allocations of the thread that asks for counting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

// A sanitizer brings its own operator new; gcc says so with __SANITIZE_*__, clang through
// __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PANEL_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(PANEL_SANITIZED)
#define PANEL_COUNTS_ALLOCATIONS 0
#else
#define PANEL_COUNTS_ALLOCATIONS 1
#endif

namespace {
thread_local bool t_counting = false;
thread_local long t_allocations = 0;
}  // namespace

#if PANEL_COUNTS_ALLOCATIONS
// These replace the global operators, so new takes its memory from malloc and delete gives it
// back with free; gcc, seeing both inlined, takes the pair for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size)
{
    if (t_counting) ++t_allocations;
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

namespace {

constexpr const wchar_t* kFieldClass = L"DRYER_FIELD_VIEW";

int g_paints = 0;

LRESULT FieldProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) ++g_paints;
    return DefWindowProc(wnd, msg, wp, lp);
}

// Counts the allocations `f` makes on this thread.
template <class F>
long AllocationsOf(F&& f)
{
    t_allocations = 0;
    t_counting = true;
    f();
    t_counting = false;
    return t_allocations;
}

TEST(Allocations, InvalidatingAWindowClassFromTheCommunicationThreadAllocatesNothing)
{
    if (!PANEL_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizers own operator new";
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
    WNDCLASS wc;
    wc.lpfnWndProc = FieldProc;
    wc.lpszClassName = kFieldClass;
    RegisterClass(&wc);
    for (int i = 0; i < 3; ++i) {
        CreateWindowEx(0, kFieldClass, L"", WS_POPUP | WS_VISIBLE, 10 * i, 0, 10, 10, nullptr, 0,
                       nullptr, nullptr);
    }
    CreateWindowEx(0, L"static", L"other", WS_POPUP | WS_VISIBLE, 0, 50, 10, 10, nullptr, 0,
                   nullptr, nullptr);
    platform::WaitIdle();
    g_paints = 0;
    long allocations = -1;
    std::thread comm([&] {
        // any case: class names compare without regard to case
        allocations = AllocationsOf(
            [] { platform::InvalidateWindowClass(L"dryer_field_VIEW", nullptr, FALSE); });
    });
    comm.join();
    platform::WaitIdle();
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(g_paints, 3) << "every window of the class paints again, and only those";
    platform::CloseScreen();
}

}  // namespace
