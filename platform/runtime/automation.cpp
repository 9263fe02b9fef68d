// Inspection and automation of the running panel: the tree of visible windows with their
// controls and drawn texts, injected taps and keys, message box answers, the virtual clock
// driver and the control socket (one command per line, one JSON line back).
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwctype>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace {

using platform::ControlInfo;
using platform::WindowInfo;
using platform::detail::PointerKind;

constexpr int kMessageTextId = 0xFFFF;
constexpr std::size_t kMaxCommandLine = 4096;

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
    out.push_back(std::move(wi));
}

std::vector<WindowInfo> InspectOnUi()
{
    std::vector<WindowInfo> out;
    for (HWND h : platform::detail::TopLevelFrontToBack()) Collect(h, out);
    return out;
}

// ---- JSON ----
void JsonString(std::ostringstream& o, const std::wstring& s)
{
    const std::string u = platform::detail::ToUtf8(s);
    o << '"';
    for (const char ch : u) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': o << "\\\""; break;
            case '\\': o << "\\\\"; break;
            case '\n': o << "\\n"; break;
            case '\r': o << "\\r"; break;
            case '\t': o << "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    o << buf;
                } else {
                    o << ch;
                }
        }
    }
    o << '"';
}

void JsonRect(std::ostringstream& o, const RECT& r)
{
    o << '[' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ']';
}

const char* Bool(bool b)
{
    return b ? "true" : "false";
}

std::string WindowsJson(const std::vector<WindowInfo>& windows)
{
    std::ostringstream o;
    o << "\"windows\":[";
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const WindowInfo& w = windows[i];
        if (i > 0) o << ',';
        o << "{\"class\":";
        JsonString(o, w.className);
        o << ",\"title\":";
        JsonString(o, w.title);
        o << ",\"rect\":";
        JsonRect(o, w.rect);
        o << ",\"topLevel\":" << Bool(w.topLevel) << ",\"isMessageBox\":" << Bool(w.isMessageBox);
        if (w.isMessageBox) {
            o << ",\"messageText\":";
            JsonString(o, w.messageText);
            o << ",\"buttons\":[";
            for (std::size_t b = 0; b < w.buttons.size(); ++b) {
                if (b > 0) o << ',';
                JsonString(o, w.buttons[b]);
            }
            o << ']';
        }
        o << ",\"controls\":[";
        for (std::size_t c = 0; c < w.controls.size(); ++c) {
            const ControlInfo& ci = w.controls[c];
            if (c > 0) o << ',';
            o << "{\"id\":" << ci.id << ",\"class\":";
            JsonString(o, ci.className);
            o << ",\"text\":";
            JsonString(o, ci.text);
            o << ",\"rect\":";
            JsonRect(o, ci.rect);
            o << ",\"visible\":" << Bool(ci.visible) << ",\"enabled\":" << Bool(ci.enabled)
              << ",\"checked\":" << Bool(ci.checked) << ",\"pressed\":" << Bool(ci.pressed) << '}';
        }
        o << "],\"texts\":[";
        for (std::size_t t = 0; t < w.texts.size(); ++t) {
            const auto& dt = w.texts[t];
            if (t > 0) o << ',';
            o << "{\"text\":";
            JsonString(o, dt.text);
            o << ",\"rect\":";
            JsonRect(o, dt.rect);
            char colour[16];
            std::snprintf(colour, sizeof colour, "#%02x%02x%02x", GetRValue(dt.colour),
                          GetGValue(dt.colour), GetBValue(dt.colour));
            o << ",\"colour\":\"" << colour << "\"}";
        }
        o << "]}";
    }
    o << ']';
    return o.str();
}

std::string Error(const std::string& why)
{
    std::ostringstream o;
    o << "{\"ok\":false,\"error\":";
    JsonString(o, platform::detail::FromUtf8(why));
    o << '}';
    return o.str();
}

std::string Ok()
{
    return "{\"ok\":true}";
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

// ---- control socket ----
struct ControlSocket {
    std::mutex mu;
    int listenFd = -1;
    std::string path;
    std::thread thread;
    std::atomic<bool> stopping{false};
};

ControlSocket& Socket()
{
    static ControlSocket* s = new ControlSocket();
    return *s;
}

void Serve(int fd)
{
    std::string buffer;
    char chunk[512];
    while (!Socket().stopping.load()) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0) break;
        buffer.append(chunk, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = buffer.find('\n')) != std::string::npos) {
            std::string line = buffer.substr(0, nl);
            buffer.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string answer = platform::RunControlCommand(line) + "\n";
            std::size_t sent = 0;
            while (sent < answer.size()) {
                const ssize_t w = write(fd, answer.data() + sent, answer.size() - sent);
                if (w <= 0) return;
                sent += static_cast<std::size_t>(w);
            }
        }
        if (buffer.size() > kMaxCommandLine) {
            const std::string answer = Error("command line too long") + "\n";
            (void)!write(fd, answer.data(), answer.size());  // the client may be gone already
            buffer.clear();
        }
    }
}

void AcceptLoop(int listenFd)
{
    while (!Socket().stopping.load()) {
        const int fd = accept(listenFd, nullptr, nullptr);
        if (fd < 0) {
            if (Socket().stopping.load()) break;
            continue;
        }
        Serve(fd);
        close(fd);
    }
}

}  // namespace

namespace platform::detail {

bool StartControlSocket(const std::string& path)
{
    ControlSocket& s = Socket();
    std::lock_guard lock(s.mu);
    if (s.listenFd >= 0) return true;
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    addr.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), addr.sun_path);
    unlink(path.c_str());  // a socket left by an earlier run
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return false;
    }
    s.listenFd = fd;
    s.path = path;
    s.stopping = false;
    s.thread = std::thread(AcceptLoop, fd);
    return true;
}

void StopControlSocket()
{
    ControlSocket& s = Socket();
    std::lock_guard lock(s.mu);
    if (s.listenFd < 0) return;
    s.stopping = true;
    shutdown(s.listenFd, SHUT_RDWR);
    close(s.listenFd);
    if (s.thread.joinable()) s.thread.join();
    unlink(s.path.c_str());
    s.listenFd = -1;
}

}  // namespace platform::detail

namespace platform {

std::vector<WindowInfo> InspectWindows()
{
    std::vector<WindowInfo> out;
    detail::RunOnUiThread([&] { out = InspectOnUi(); });
    return out;
}

std::string InspectWindowsJson()
{
    return "{" + WindowsJson(InspectWindows()) + "}";
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
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    if (cmd.empty()) return Error("empty command");
    if (cmd == "tap" || cmd == "down" || cmd == "up" || cmd == "move") {
        int x = 0, y = 0;
        if (!(in >> x >> y)) return Error("usage: " + cmd + " X Y");
        const bool ok = cmd == "tap"    ? Tap(x, y)
                        : cmd == "down" ? PointerDown(x, y)
                        : cmd == "move" ? PointerMove(x, y)
                                        : PointerUp(x, y);
        return ok ? Ok() : Error("not idle");
    }
    if (cmd == "press") {
        std::string idText;
        in >> idText;
        int id = 0;
        try {
            id = static_cast<int>(std::stol(idText, nullptr, 0));
        } catch (...) {
            return Error("usage: press ID");
        }
        return PressControl(id) ? Ok() : Error("no visible, enabled control with that id");
    }
    if (cmd == "tree") return "{\"ok\":true," + WindowsJson(InspectWindows()) + "}";
    if (cmd == "answer") {
        std::string label;
        std::getline(in >> std::ws, label);
        if (label.empty()) return Error("usage: answer BUTTON");
        return AnswerMessageBox(detail::FromUtf8(label)) ? Ok()
                                                         : Error("no such message box button");
    }
    if (cmd == "screenshot") {
        std::string path;
        std::getline(in >> std::ws, path);
        if (path.empty()) return Error("usage: screenshot PATH");
        return SaveScreenshot(path) ? Ok() : Error("screenshot not written");
    }
    if (cmd == "key") {
        std::string vkText, alt;
        in >> vkText >> alt;
        unsigned vk = 0;
        try {
            vk = static_cast<unsigned>(std::stoul(vkText, nullptr, 0));
        } catch (...) {
            return Error("usage: key VK [alt]");
        }
        return SendKey(vk, alt == "alt") ? Ok() : Error("not idle");
    }
    if (cmd == "advance") {
        std::int64_t ms = 0;
        if (!(in >> ms) || ms < 0) return Error("usage: advance MS");
        if (!IsVirtualClock()) return Error("the panel runs on the real clock");
        AdvanceClock(ms);
        return Ok();
    }
    if (cmd == "idle") return WaitIdle() ? Ok() : Error("not idle");
    return Error("unknown command: " + cmd);
}

}  // namespace platform
