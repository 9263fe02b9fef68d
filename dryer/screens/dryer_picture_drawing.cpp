// What the home panels share: the snapshot of the dryer image and timer state they paint
// from, its replaceable source, the image readers, and the double-buffered painting helpers.
#include <cstdarg>
#include <cwchar>
#include <map>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/panel_animation.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"

namespace home_panels {

namespace {

// The program's 100 ms and 175 ms ticks keep the blink flags and the animation phases.
void ReadTimerInputs(HomePanelInputs& out)
{
    const PanelAnimation& animation = Animation();
    out.blinkFlags = animation.blinkFlags;
    out.fanPhase = animation.fanPhase;
    out.loadPhase = animation.loadingPhase;
    out.unloadPhase = animation.unloadPhase;
    out.meterRollLeftPhase = animation.meterRollPhase[0];
    out.meterRollRightPhase = animation.meterRollPhase[1];
}

// The 100 ms tick turns the banner bit over every third tick; each turn is one step request,
// taken once by the connection-lost panel.
bool TakeReconnectStepFromTimers()
{
    static unsigned taken = 0;
    const unsigned now = Animation().blinkFlags & kBannerBlinkBit;
    if (now == taken) return false;
    taken = now;
    return true;
}

void ReadLinkAndTimers(HomePanelInputs& out)
{
    for (std::size_t i = 0; i < kImageSize; ++i) out.image[i] = DryerImage.Get(i);
    out.linkWatchdog = static_cast<int>(LinkWatchdog.load(std::memory_order_relaxed));
    ReadTimerInputs(out);
}

void RaiseLinkReset()
{
    RequestLinkReset();
}

HomePanelSource DefaultSource()
{
    return HomePanelSource{&ReadLinkAndTimers, &TakeReconnectStepFromTimers, &RaiseLinkReset};
}

HomePanelSource& Source()
{
    static HomePanelSource source = DefaultSource();
    return source;
}

}  // namespace

void SetHomePanelSource(const HomePanelSource& source)
{
    Source() = source;
}
void ResetHomePanelSource()
{
    Source() = DefaultSource();
}

HomePanelInputs ReadHomePanelInputs()
{
    HomePanelInputs inputs;
    if (Source().read != nullptr) Source().read(inputs);
    return inputs;
}

bool TakeReconnectStep()
{
    return Source().takeReconnectStep != nullptr && Source().takeReconnectStep();
}

void RequestPanelLinkReset()
{
    if (Source().requestLinkReset != nullptr) Source().requestLinkReset();
}

// ---- readers ----

bool Celsius(const PanelImage& image)
{
    return IsSet(image, siUnitsBit);
}

int PlenumTemp(const PanelImage& image, int plenum)
{
    return Value(image, ForHeater(plenumTemp, plenum));
}

int PlenumSetpoint(const PanelImage& image, int plenum)
{
    return Value(image, ForHeater(plenumSetpoint, plenum));
}

int MoistureScheme(const PanelImage& image)
{
    return BitsValue(image, moistureSchemeBits);
}

int SelectedGrainTemp(const PanelImage& image)
{
    return Value(image, GrainTempEntry(Value(image, grainSensorSelect)));
}

int HeaterCount(const PanelImage& image)
{
    switch (Value(image, heaterCountCode)) {
        case 0: return 1;
        case 1: return 2;
        case 2: return 3;
        case 3: return 4;
        case 4: return 6;
        default: return 0;
    }
}

// ---- painting ----

PaintBuffer::PaintBuffer(HWND wnd, COLORREF background) : wnd_(wnd)
{
    screen_ = BeginPaint(wnd, &paint_);
    RECT client{};
    GetClientRect(wnd, &client);
    width_ = client.right - client.left;
    height_ = client.bottom - client.top;
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width_, height_);
    oldBitmap_ = SelectObject(memory_, bitmap_);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory_, &client, brush);
    DeleteObject(brush);
}

PaintBuffer::~PaintBuffer()
{
    BitBlt(screen_, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY);
    SelectObject(memory_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    EndPaint(wnd_, &paint_);
}

void DrawPanelText(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour, int height,
                   int weight, UINT format)
{
    if (text.empty()) return;
    LOGFONT description{};
    description.lfHeight = height;
    description.lfWeight = weight;
    HFONT font = CreateFontIndirect(&description);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    RECT box = rect;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void DrawPanelTextToFit(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour,
                        int height, int weight, UINT format)
{
    if (text.empty()) return;
    // The panel's large digits were drawn in a narrower face; ours is wider, so a reading such
    // as "22.0" would run out of its box. Step the height down until the text fits.
    const LONG room = rect.right - rect.left;
    constexpr int kSmallest = 24;
    for (; height > kSmallest; height -= 3) {
        LOGFONT description{};
        description.lfHeight = height;
        description.lfWeight = weight;
        HFONT font = CreateFontIndirect(&description);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        if (extent.cx <= room) break;
    }
    DrawPanelText(dc, text, rect, colour, height, weight, format);
}

void DrawPanelLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void DrawPanelBitmap(HDC dc, int resourceId, int x, int y, int width, int height)
{
    // Loaded once for the run: the dryer picture repaints ten times a second.
    static std::map<int, HBITMAP> loaded;
    auto found = loaded.find(resourceId);
    if (found == loaded.end()) {
        found = loaded.emplace(resourceId, LoadBitmap(nullptr, resourceId)).first;
    }
    if (found->second == nullptr) return;  // a missing resource draws nothing
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, found->second);
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

std::wstring Format(const wchar_t* format, ...)
{
    // The panel's formats pass characters with %c; wide formatting wants %lc for a wide
    // character such as the degree sign.
    std::wstring wide;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        wide += *p;
        if (*p == L'%' && p[1] == L'%') {
            wide += *++p;
        } else if (*p == L'%' && p[1] == L'c') {
            wide += L'l';
        }
    }
    wchar_t buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vswprintf(buffer, std::size(buffer), wide.c_str(), args);
    va_end(args);
    if (n < 0) return {};
    return std::wstring(buffer, static_cast<std::size_t>(n));
}

}  // namespace home_panels
