// Inspection and automation of the running panel: the tree of visible windows with their
// controls, list rows and drawn texts, injected taps and keys, message box answers, the virtual
// clock driver and the commands of the control socket (platform/runtime/control_socket.cpp).
#include <algorithm>
#include <cwctype>
#include <variant>

#include "platform/controls/controls.h"
#include "platform/controls/detail_list_contents.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/control_command.h"
#include "platform/runtime/detail_automation_json.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/utf8.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace {

using platform::ControlInfo;
using platform::WindowInfo;
using platform::detail::PointerKind;

constexpr int kMessageTextId = 0xFFFF;

std::wstring TextOf(HWND wnd)
{
    const int n = GetWindowTextLength(wnd);
    if (n <= 0) return {};
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowText(wnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(0, got)));
    return s;
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t buf[128];
    const int n = GetClassName(wnd, buf, 128);
    return std::wstring(buf, static_cast<std::size_t>(std::max(0, n)));
}

bool IsButton(const std::wstring& cls)
{
    std::wstring l = cls;
    for (auto& c : l) c = static_cast<wchar_t>(std::towlower(c));
    return l == L"button";
}

// A list box or list view shows every row it holds, not only those on screen.
void AddListRows(HWND c, ControlInfo& ci)
{
    auto contents = platform::controls::ListBoxContents(c);
    if (!contents) contents = platform::controls::ListViewContents(c);
    if (!contents) return;
    ci.isList = true;
    ci.columns = std::move(contents->columns);
    ci.columnWidths = std::move(contents->columnWidths);
    ci.topRow = contents->top;
    for (std::size_t i = 0; i < contents->rows.size(); ++i) {
        ci.rows.push_back(platform::ListRowInfo{std::move(contents->rows[i]),
                                                static_cast<int>(i) == contents->selected});
    }
}

ControlInfo Control(HWND c)
{
    ControlInfo ci;
    ci.id = GetDlgCtrlID(c);
    ci.className = ClassOf(c);
    ci.text = TextOf(c);
    GetWindowRect(c, &ci.rect);
    ci.visible = IsWindowVisible(c) != FALSE;
    ci.enabled = IsWindowEnabled(c) != FALSE;
    if (IsButton(ci.className)) {
        ci.checked = SendMessage(c, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED);
        ci.pressed = (SendMessage(c, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }
    AddListRows(c, ci);
    ci.texts = platform::detail::LastPaintTexts(c);
    ci.pictures = platform::detail::LastPaintPictures(c);
    return ci;
}

// Adds the visible windows of a subtree, top-most first (children above their parent).
void Collect(HWND wnd, std::vector<WindowInfo>& out)
{
    if (!IsWindowVisible(wnd)) return;
    for (HWND c : platform::detail::ChildrenFrontToBack(wnd)) {
        if (!platform::detail::IsBuiltinControlClass(ClassOf(c))) Collect(c, out);
    }
    WindowInfo wi;
    wi.className = ClassOf(wnd);
    wi.title = TextOf(wnd);
    GetWindowRect(wnd, &wi.rect);
    wi.topLevel = GetParent(wnd) == nullptr;
    wi.isMessageBox = wi.className == L"#MessageBox";
    for (HWND c : platform::detail::ChildrenFrontToBack(wnd)) {
        const std::wstring cls = ClassOf(c);
        if (!platform::detail::IsBuiltinControlClass(cls)) continue;
        ControlInfo ci = Control(c);
        if (wi.isMessageBox) {
            if (ci.id == kMessageTextId) wi.messageText = ci.text;
            if (IsButton(cls) && ci.visible) wi.buttons.push_back(ci.text);
        }
        wi.controls.push_back(std::move(ci));
    }
    wi.texts = platform::detail::LastPaintTexts(wnd);
    wi.pictures = platform::detail::LastPaintPictures(wnd);
    out.push_back(std::move(wi));
}

std::vector<WindowInfo> InspectOnUi()
{
    std::vector<WindowInfo> out;
    for (HWND h : platform::detail::TopLevelFrontToBack()) Collect(h, out);
    return out;
}

std::string Error(std::string_view why)
{
    return platform::detail::ErrorJson(why);
}

std::string Ok()
{
    return platform::detail::OkJson();
}

bool SameLabel(const std::wstring& label, const std::wstring& wanted)
{
    std::wstring a;
    for (wchar_t c : label) {
        if (c != L'&') a.push_back(static_cast<wchar_t>(std::towlower(c)));
    }
    std::wstring b;
    for (wchar_t c : wanted) b.push_back(static_cast<wchar_t>(std::towlower(c)));
    return a == b;
}

}  // namespace

namespace platform {

std::vector<WindowInfo> InspectWindows()
{
    std::vector<WindowInfo> out;
    detail::RunOnUiThread([&] { out = InspectOnUi(); });
    return out;
}

std::string InspectWindowsJson()
{
    return detail::WindowsJson(InspectWindows(), false);
}

bool WaitIdle()
{
    return detail::WaitLoopIdle();
}

bool PointerDown(int x, int y)
{
    detail::QueuePointer(PointerKind::Down, x, y);
    return WaitIdle();
}

bool PointerUp(int x, int y)
{
    detail::QueuePointer(PointerKind::Up, x, y);
    return WaitIdle();
}

bool PointerMove(int x, int y)
{
    detail::QueuePointer(PointerKind::Move, x, y);
    return WaitIdle();
}

bool Tap(int x, int y)
{
    return PointerDown(x, y) && PointerUp(x, y);
}

bool PressControl(int id)
{
    std::optional<POINT> centre;
    detail::RunOnUiThread([&] {
        for (const WindowInfo& w : InspectOnUi()) {
            for (const ControlInfo& c : w.controls) {
                if (c.id != id || !c.visible || !c.enabled) continue;
                centre = POINT{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2};
                return;
            }
        }
    });
    if (!centre) return false;
    return Tap(centre->x, centre->y);
}

bool AnswerMessageBox(const std::wstring& button)
{
    bool found = false;
    detail::RunOnUiThread([&] {
        for (HWND top : detail::TopLevelFrontToBack()) {
            if (!IsWindowVisible(top) || ClassOf(top) != L"#MessageBox") continue;
            for (HWND c : detail::ChildrenFrontToBack(top)) {
                if (!IsButton(ClassOf(c)) || !SameLabel(TextOf(c), button)) continue;
                PostMessage(c, BM_CLICK, 0, 0);
                found = true;
                return;
            }
            return;  // only the top-most message box is answered
        }
    });
    return found && WaitIdle();
}

bool SendKey(unsigned virtualKey, bool alt)
{
    detail::QueueKey(virtualKey, alt, true);
    detail::QueueKey(virtualKey, alt, false);
    return WaitIdle();
}

void AdvanceClock(std::int64_t milliseconds)
{
    if (milliseconds <= 0) {
        WaitIdle();
        return;
    }
    const std::int64_t target = NowMs() + milliseconds;
    WaitIdle();
    for (;;) {
        const auto next = detail::NextTimerDeadline();
        if (!next || *next > target) break;
        if (*next <= NowMs()) break;  // nothing handles the due timer: stop stepping
        SetVirtualNow(*next);
        detail::KickLoop();
        if (!WaitIdle()) break;
    }
    SetVirtualNow(target);
    detail::KickLoop();
    WaitIdle();
}

std::string RunControlCommand(const std::string& line)
{
    const auto parsed = ParseControlCommand(line);
    if (const auto* refusal = std::get_if<ControlRefusal>(&parsed)) return Error(refusal->why);
    const ControlCommand& c = std::get<ControlCommand>(parsed);
    switch (c.verb) {
        case ControlVerb::Tap: return Tap(c.x, c.y) ? Ok() : Error("not idle");
        case ControlVerb::Down: return PointerDown(c.x, c.y) ? Ok() : Error("not idle");
        case ControlVerb::Up: return PointerUp(c.x, c.y) ? Ok() : Error("not idle");
        case ControlVerb::Move: return PointerMove(c.x, c.y) ? Ok() : Error("not idle");
        case ControlVerb::Press:
            return PressControl(c.id) ? Ok() : Error("no visible, enabled control with that id");
        case ControlVerb::Tree: return detail::WindowsJson(InspectWindows(), true);
        case ControlVerb::Answer:
            return AnswerMessageBox(Widen(c.text)) ? Ok() : Error("no such message box button");
        case ControlVerb::Screenshot:
            return SaveScreenshot(c.text) ? Ok() : Error("screenshot not written");
        case ControlVerb::Key: return SendKey(c.key, c.alt) ? Ok() : Error("not idle");
        case ControlVerb::Advance:
            if (!IsVirtualClock()) return Error("the panel runs on the real clock");
            AdvanceClock(c.ms);
            return Ok();
        case ControlVerb::Idle: return WaitIdle() ? Ok() : Error("not idle");
    }
    return Error("unknown command");
}

}  // namespace platform
