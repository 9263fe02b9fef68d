// Message boxes drawn by the platform: a modal, top-most window of class "#MessageBox" with
// the caption, an icon, the text in a static child (id 0xFFFF, where the inspector reads it)
// and one button per answer of the set. Sized to its text and centred on the screen.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/dialog.h"

namespace platform::controls {

namespace {

constexpr int kTextId = 0xFFFF;
constexpr int kMargin = 14;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 10;
constexpr int kTextToButtons = 16;
constexpr int kMinClientWidth = 200;
constexpr int kMaxOuterWidth = 620;
constexpr int kMaxOuterHeight = 470;
constexpr int kCaptionFontHeight = 14;

struct Answer {
    int id;
    const wchar_t* label;
};

enum class Icon { None, Stop, Question, Exclamation, Information };

struct MessageBoxContent {
    std::wstring text;
    std::vector<Answer> answers;
    Icon icon = Icon::None;
    size_t defaultIndex = 0;
};

std::map<HWND, const MessageBoxContent*> g_boxes;

std::vector<Answer> AnswersOf(UINT type)
{
    switch (type & 0x0F) {
        case MB_OKCANCEL: return {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, L"Abort"}, {IDRETRY, L"Retry"}, {IDIGNORE, L"Ignore"}};
        case MB_YESNOCANCEL: return {{IDYES, L"Yes"}, {IDNO, L"No"}, {IDCANCEL, L"Cancel"}};
        case MB_YESNO: return {{IDYES, L"Yes"}, {IDNO, L"No"}};
        case MB_RETRYCANCEL: return {{IDRETRY, L"Retry"}, {IDCANCEL, L"Cancel"}};
        default: return {{IDOK, L"OK"}};
    }
}

Icon IconOf(UINT type)
{
    switch (type & 0xF0) {
        case MB_ICONSTOP: return Icon::Stop;
        case MB_ICONQUESTION: return Icon::Question;
        case MB_ICONEXCLAMATION: return Icon::Exclamation;
        case MB_ICONINFORMATION: return Icon::Information;
        default: return Icon::None;
    }
}

// ---- icons ----

void PaintGlyph(Painter& paint, const RECT& box, const wchar_t* glyph, COLORREF colour, int top = 0)
{
    RECT r{box.left, box.top + top, box.right, box.bottom + top};
    paint.Text(glyph, r, colour, -22, FW_BOLD, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintIcon(Painter& paint, Icon icon, const RECT& box)
{
    switch (icon) {
        case Icon::Stop: {
            paint.Ellipse(box, RGB(204, 0, 0), RGB(128, 0, 0), 1);
            const COLORREF cross = RGB(255, 255, 255);
            paint.Line(box.left + 10, box.top + 10, box.right - 10, box.bottom - 10, cross, 4);
            paint.Line(box.right - 10, box.top + 10, box.left + 10, box.bottom - 10, cross, 4);
            break;
        }
        case Icon::Question:
            paint.Ellipse(box, RGB(255, 255, 255), RGB(0, 0, 160), 1);
            PaintGlyph(paint, box, L"?", RGB(0, 0, 160));
            break;
        case Icon::Exclamation: {
            const POINT pts[3] = {{(box.left + box.right) / 2, box.top},
                                  {box.right - 1, box.bottom - 2},
                                  {box.left, box.bottom - 2}};
            paint.Polygon(pts, RGB(255, 208, 0), RGB(0, 0, 0), 1);
            PaintGlyph(paint, box, L"!", RGB(0, 0, 0), 4);
            break;
        }
        case Icon::Information:
            paint.Ellipse(box, RGB(0, 64, 192), RGB(0, 0, 128), 1);
            PaintGlyph(paint, box, L"i", RGB(255, 255, 255));
            break;
        case Icon::None: break;
    }
}

RECT IconBox(HWND wnd)
{
    (void)wnd;
    return RECT{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
}

// ---- layout ----

// The widest line decides the width (wrapped at maxWidth); the wrapped lines the height.
SIZE MeasureText(HDC dc, const std::wstring& text, int maxWidth, int height, bool bold)
{
    if (text.empty()) return SIZE{0, 0};
    const Painter measure(dc);
    const int weight = bold ? FW_BOLD : FW_NORMAL;
    LONG widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        SIZE line{0, 0};
        if (end > start)
            line = measure.TextExtent(text.substr(start, end - start), -height, weight);
        widest = std::max(widest, line.cx);
        start = end + 1;
    }
    widest = std::min<LONG>(widest + 1, maxWidth);
    const int lines = measure.TextHeight(text, widest, -height, weight, DT_LEFT | DT_WORDBREAK);
    return SIZE{widest, lines};
}

void Layout(HWND box, const MessageBoxContent& content)
{
    RECT outer, client;
    GetWindowRect(box, &outer);
    GetClientRect(box, &client);
    int frameW = (outer.right - outer.left) - client.right;
    int frameH = (outer.bottom - outer.top) - client.bottom;
    bool icon = content.icon != Icon::None;
    int textLeft = kMargin + (icon ? kIconSize + kIconGap : 0);
    int maxTextWidth = kMaxOuterWidth - frameW - textLeft - kMargin;

    SIZE text{0, 0};
    SIZE caption{0, 0};
    if (HDC dc = GetDC(box); dc != nullptr) {
        text = MeasureText(dc, ExpandTabsCapped(content.text), maxTextWidth, kFontHeight, false);
        caption = MeasureText(dc, WindowText(box), kMaxOuterWidth, kCaptionFontHeight, true);
        ReleaseDC(box, dc);
    }
    int maxTextHeight = kMaxOuterHeight - frameH - 2 * kMargin - kTextToButtons - kButtonHeight;
    text.cx += 2;  // slack for rounding of the measured width
    text.cy = std::min<LONG>(text.cy, maxTextHeight);

    int count = static_cast<int>(content.answers.size());
    int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int contentHeight = std::max<int>(icon ? kIconSize : 0, text.cy);
    int width =
        std::max({textLeft + static_cast<int>(text.cx) + kMargin, buttonsWidth + 2 * kMargin,
                  static_cast<int>(caption.cx) + 3 * kMargin, kMinClientWidth});
    width = std::min(width, kMaxOuterWidth - frameW);
    int height = kMargin + contentHeight + kTextToButtons + kButtonHeight + kMargin;

    int outerW = width + frameW;
    int outerH = height + frameH;
    MoveWindow(box, (kScreenWidth - outerW) / 2, (kScreenHeight - outerH) / 2, outerW, outerH,
               FALSE);

    int textTop = kMargin + (contentHeight - text.cy) / 2;
    CreateWindowEx(0, WC_STATIC, content.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, textLeft,
                   textTop, text.cx, text.cy, box, kTextId, nullptr, nullptr);
    int x = (width - buttonsWidth) / 2;
    int y = kMargin + contentHeight + kTextToButtons;
    for (size_t i = 0; i < content.answers.size(); ++i) {
        DWORD style =
            WS_CHILD | WS_VISIBLE | (i == content.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        CreateWindowEx(0, WC_BUTTON, content.answers[i].label, style, x, y, kButtonWidth,
                       kButtonHeight, box, content.answers[i].id, nullptr, nullptr);
        x += kButtonWidth + kButtonGap;
    }
}

// ---- behaviour ----

bool HasAnswer(const MessageBoxContent& content, int id)
{
    return std::any_of(content.answers.begin(), content.answers.end(),
                       [id](const Answer& a) { return a.id == id; });
}

void OnCommand(HWND box, const MessageBoxContent& content, int id)
{
    if (HasAnswer(content, id)) {
        EndDialog(box, id);
        return;
    }
    // Return: the first button (OK, Yes, Retry...), as the default button
    if (id == IDOK && !content.answers.empty()) EndDialog(box, content.answers[0].id);
    // Escape or close: Cancel when the set has it, OK when it is the only answer
    if (id == IDCANCEL && content.answers.size() == 1) EndDialog(box, content.answers[0].id);
}

void Paint(HWND box, const MessageBoxContent& content)
{
    PaintScope scope(box);
    if (scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    paint.Fill(ClientRect(box), kFace);
    PaintIcon(paint, content.icon, IconBox(box));
}

INT_PTR MessageBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        const auto* content = reinterpret_cast<const MessageBoxContent*>(lp);
        g_boxes[box] = content;
        Layout(box, *content);
        return TRUE;
    }
    auto it = g_boxes.find(box);
    if (it == g_boxes.end()) return FALSE;
    const MessageBoxContent& content = *it->second;
    switch (msg) {
        case WM_PAINT: Paint(box, content); return TRUE;
        case WM_ERASEBKGND: return TRUE;
        case WM_COMMAND: OnCommand(box, content, LOWORD(wp)); return TRUE;
        case WM_DESTROY: g_boxes.erase(box); return FALSE;
    }
    return FALSE;
}

}  // namespace

}  // namespace platform::controls

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    using namespace platform::controls;
    if (platform::ScreenIsOpen() && !platform::OnUiThread()) {
        // A worker thread (the installer's copy thread) asks: the box runs on the thread that
        // owns the windows, and this thread waits for the answer.
        std::wstring ownText = text != nullptr ? text : L"";
        std::wstring ownCaption = caption != nullptr ? caption : L"Error";
        int answer = 0;
        bool ran = platform::detail::RunOnUiThread(
            [&] { answer = MessageBox(owner, ownText.c_str(), ownCaption.c_str(), type); });
        return ran ? answer : 0;
    }
    MessageBoxContent content;
    content.text = text != nullptr ? text : L"";
    content.answers = AnswersOf(type);
    content.icon = IconOf(type);
    content.defaultIndex = (type & MB_DEFBUTTON2) != 0 && content.answers.size() > 1 ? 1 : 0;

    DialogTemplate tmpl;
    tmpl.caption = caption != nullptr ? caption : L"Error";
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.width = kMinClientWidth;
    tmpl.height = 120;
    tmpl.background = kFace;
    INT_PTR result = RunModal(kMessageBoxClass, tmpl, nullptr, owner, MessageBoxProc,
                              reinterpret_cast<LPARAM>(&content));
    return result < 0 ? 0 : static_cast<int>(result);
}
