// Test harness: headless Chromium driven through its DevTools protocol, for the tests that run
// the browser view's page in a real browser. The browser starts with a profile folder of its
// own and a DevTools port the system chooses (read from the DevToolsActivePort file); the test
// talks to its one page over a WebSocket: navigate, evaluate script, press the mouse, touch,
// take a screenshot. Every wait is bounded in real time.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/web_client.h"

namespace test_support {

// The path of a program found on PATH; empty when it is not there.
inline std::string ProgramOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, colon)) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    return {};
}

inline std::string Base64Decoded(const std::string& text)
{
    std::string out;
    int bits = 0;
    unsigned value = 0;
    for (char c : text) {
        int v = -1;
        if (c >= 'A' && c <= 'Z') v = c - 'A';
        if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
        if (c >= '0' && c <= '9') v = c - '0' + 52;
        if (c == '+') v = 62;
        if (c == '/') v = 63;
        if (v < 0) continue;  // padding and line breaks
        value = (value << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((value >> bits) & 0xFF));
        }
    }
    return out;
}

class HeadlessChromium {
public:
    // Starts the browser with its profile and output in `folder` and connects to its page.
    explicit HeadlessChromium(const std::filesystem::path& folder, int width = 800,
                              int height = 640)
    {
        const std::string exe = ProgramOnPath("chromium");
        if (exe.empty()) {
            why_ = "chromium is not installed (scripts/setup installs it)";
            return;
        }
        const std::filesystem::path profile = folder / "chromium-profile";
        std::filesystem::create_directories(profile);
        std::vector<std::string> args = {
            exe,
            "--headless",
            "--disable-gpu",
            "--no-first-run",
            "--no-default-browser-check",
            "--disable-extensions",
            "--disable-background-networking",
            "--disable-sync",
            "--disable-dev-shm-usage",
            "--user-data-dir=" + profile.string(),
            "--remote-debugging-port=0",
            "--window-size=" + std::to_string(width) + "," + std::to_string(height)};
        if (::geteuid() == 0) args.push_back("--no-sandbox");  // refused as root otherwise
        args.push_back("about:blank");
        browser_ = std::make_unique<ChildProcess>(args, folder);
        // The browser makes the file first and writes the port into it after: the port is
        // read until it is there.
        const std::filesystem::path portFile = profile / "DevToolsActivePort";
        const auto readPort = [&] {
            std::ifstream in(portFile);
            std::uint16_t port = 0;
            in >> port;
            return port;
        };
        if (!WaitFor(
                [&] {
                    port_ = readPort();
                    return port_ != 0 || !browser_->running();
                },
                20000)) {
            why_ = "chromium did not open its DevTools port: " + browser_->Stderr();
            return;
        }
        if (port_ == 0) {
            why_ = "chromium ended before it wrote its DevTools port: " + browser_->Stderr();
            return;
        }
        // The page target of the window it opened.
        std::string pagePath;
        WaitFor(
            [&] {
                const auto list = HttpGet("127.0.0.1", port_, "/json/list");
                const auto targets = nlohmann::json::parse(list.body, nullptr, false);
                if (!targets.is_array()) return false;
                for (const auto& t : targets) {
                    if (t.value("type", "") != "page") continue;
                    const std::string url = t.value("webSocketDebuggerUrl", "");
                    const auto at = url.find("/devtools/");
                    if (at != std::string::npos) pagePath = url.substr(at);
                }
                return !pagePath.empty();
            },
            10000);
        if (pagePath.empty()) {
            why_ = "chromium shows no page target";
            return;
        }
        page_ = std::make_unique<WebSocketClient>("127.0.0.1", port_, pagePath);
        if (!page_->connected()) why_ = "the DevTools connection to the page failed";
    }

    ~HeadlessChromium()
    {
        page_.reset();
        if (browser_ && browser_->running()) {
            browser_->Signal(SIGTERM);  // it ends its helper processes itself
            if (!browser_->WaitForExit(10000)) browser_->Signal(SIGKILL);
        }
    }
    HeadlessChromium(const HeadlessChromium&) = delete;
    HeadlessChromium& operator=(const HeadlessChromium&) = delete;

    bool ok() const { return why_.empty(); }
    const std::string& why() const { return why_; }

    // One DevTools command on the page: its result, or nothing on an error or no answer.
    std::optional<nlohmann::json> Call(const std::string& method,
                                       nlohmann::json params = nlohmann::json::object(),
                                       int timeoutMs = 10000)
    {
        if (!page_ || !page_->connected()) return std::nullopt;
        const int id = ++lastId_;
        nlohmann::json command{{"id", id}, {"method", method}, {"params", std::move(params)}};
        if (!page_->Send(command.dump())) return std::nullopt;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < until) {
            const auto message = page_->Read(timeoutMs);
            if (!message) return std::nullopt;
            const auto answer = nlohmann::json::parse(message->data, nullptr, false);
            if (!answer.is_object() || answer.value("id", -1) != id) continue;  // an event
            if (answer.contains("error")) {
                lastError_ = answer["error"].dump();
                return std::nullopt;
            }
            return answer.value("result", nlohmann::json::object());
        }
        return std::nullopt;
    }

    bool Navigate(const std::string& url)
    {
        return Call("Page.navigate", {{"url", url}}).has_value();
    }

    // The value of a script expression on the page (a promise is awaited); nothing when it
    // threw or the page did not answer.
    std::optional<nlohmann::json> Evaluate(const std::string& expression)
    {
        const auto result =
            Call("Runtime.evaluate",
                 {{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}});
        if (!result || result->contains("exceptionDetails")) return std::nullopt;
        return (*result)["result"].value("value", nlohmann::json());
    }

    // The left mouse button at a point of the page (CSS pixels).
    bool Mouse(const char* type, double x, double y)
    {
        return Call("Input.dispatchMouseEvent",
                    {{"type", type},
                     {"x", x},
                     {"y", y},
                     {"button", "left"},
                     {"buttons", std::string(type) == "mouseReleased" ? 0 : 1},
                     {"clickCount", 1}})
            .has_value();
    }
    bool Click(double x, double y)
    {
        return Mouse("mouseMoved", x, y) && Mouse("mousePressed", x, y) &&
               Mouse("mouseReleased", x, y);
    }
    // A finger: "touchStart", "touchMove" with a point, "touchEnd" without.
    bool Touch(const char* type, double x, double y)
    {
        nlohmann::json points = nlohmann::json::array();
        if (std::string(type) != "touchEnd") points.push_back({{"x", x}, {"y", y}});
        return Call("Input.dispatchTouchEvent", {{"type", type}, {"touchPoints", points}})
            .has_value();
    }

    // The page as PNG bytes; empty when it could not be taken.
    std::string Screenshot()
    {
        const auto result = Call("Page.captureScreenshot", {{"format", "png"}});
        if (!result || !result->contains("data")) return {};
        return Base64Decoded((*result)["data"].get<std::string>());
    }

    const std::string& lastError() const { return lastError_; }

private:
    std::unique_ptr<ChildProcess> browser_;
    std::unique_ptr<WebSocketClient> page_;
    std::uint16_t port_ = 0;
    int lastId_ = 0;
    std::string why_;
    std::string lastError_;
};

}  // namespace test_support
