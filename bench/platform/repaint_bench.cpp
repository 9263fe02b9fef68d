// Cost of one full repaint of a busy 640 x 480 screen as the panel draws it: 20 texts, 30 lines
// and 8 bitmaps into a memory context, one copy to the window, then composing the screen.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kBusyClass = L"BUSY_SCREEN_WINDOW";
HBITMAP g_faces[8] = {};

void PaintBusyScreen(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT client;
    GetClientRect(wnd, &client);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(mem, buffer);
    FillRect(mem, &client, GetStockObject(BLACK_BRUSH));

    LOGFONT lf;
    lf.lfHeight = 18;
    lf.lfWeight = 700;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(mem, font);
    SetBkMode(mem, TRANSPARENT);
    for (int i = 0; i < 20; ++i) {
        SetTextColor(mem, i % 2 == 0 ? RGB(0, 255, 0) : RGB(255, 0, 0));
        wchar_t text[32];
        std::swprintf(text, 32, L"PLENUM %d %d\u00b0F", i + 1, 180 + i);
        RECT r{(i % 2) * 320, (i / 2) * 40, (i % 2) * 320 + 320, (i / 2) * 40 + 40};
        DrawText(mem, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(150, 150, 150));
    HGDIOBJ oldPen = SelectObject(mem, pen);
    for (int i = 0; i < 30; ++i) {
        MoveToEx(mem, 0, i * 16, nullptr);
        LineTo(mem, i % 3 == 0 ? 640 : 320 + i * 10, i % 3 == 2 ? i * 16 + 20 : i * 16);
    }
    HDC faces = CreateCompatibleDC(mem);
    for (int i = 0; i < 8; ++i) {
        HGDIOBJ old = SelectObject(faces, g_faces[i]);
        BitBlt(mem, 10 + (i % 4) * 155, 300 + (i / 4) * 60, 105, 40, faces, 0, 0, SRCCOPY);
        SelectObject(faces, old);
    }
    DeleteDC(faces);
    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldPen);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    DeleteObject(pen);
    DeleteObject(font);
    DeleteObject(buffer);
    DeleteDC(mem);
    EndPaint(wnd, &ps);
}

LRESULT BusyProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PaintBusyScreen(wnd);
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void BM_FullRepaintOfABusyScreen(benchmark::State& state)
{
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    static const BitmapResource table[] = {
        {1, 105, 40, L"TIMERS", ArtKind::Button, 0x00C0C0C0, nullptr},
        {2, 105, 40, L"TIMERS", ArtKind::ButtonPressed, 0x00C0C0C0, nullptr},
    };
    platform::RegisterBitmapResources("bench", table);
    platform::OpenScreen(platform::ScreenOptions{});
    for (int i = 0; i < 8; ++i) g_faces[i] = LoadBitmap(nullptr, 1 + i % 2);
    WNDCLASS wc;
    wc.lpfnWndProc = BusyProc;
    wc.lpszClassName = kBusyClass;
    RegisterClass(&wc);
    HWND wnd = CreateWindowEx(0, kBusyClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, 0,
                              nullptr, nullptr);
    platform::WaitIdle();
    for (auto _ : state) {
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
        benchmark::DoNotOptimize(platform::detail::ComposeScreen());
    }
    for (HBITMAP& f : g_faces) DeleteObject(f);
    platform::CloseScreen();
}
BENCHMARK(BM_FullRepaintOfABusyScreen)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
