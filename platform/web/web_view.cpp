// The browser view tied to the panel: the server's touches go into the same input queue as the
// touch screen's, and it watches the screen's presents while someone views it.
#include "platform/web/web_view.h"

#include <mutex>

#include "platform/web/web_access.h"
#include "platform/web/web_server.h"
#include "platform/windowing/detail_window.h"

namespace platform {

namespace {

std::mutex gRunningMu;
std::string gRunningUrl;

std::string HostInUrl(const std::string& host)
{
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

std::string CheckWebViewAddress(const std::string& value)
{
    std::string why;
    return web::ParseListenAddress(value, &why) ? std::string() : why;
}

std::string CheckWebViewToken(const std::string& value)
{
    return web::CheckToken(value);
}

WebView::WebView(const WebViewOptions& options, const std::string& program)
{
    const auto address = web::ParseListenAddress(options.address, &error_);
    if (!address) return;
    std::string token = options.token;
    if (token.empty() && !address->loopback) {
        token = web::MakeToken();  // beyond loopback nobody gets in without one
        tokenMadeUp_ = true;
    }
    web::ServerSettings settings;
    settings.address = *address;
    settings.token = token;
    settings.program = program;
    web::WebServer::Panel panel;
    panel.inject = [](detail::PointerKind kind, int x, int y) { detail::QueuePointer(kind, x, y); };
    panel.watch = [](web::WebServer::Sink sink) { detail::SetScreenWatcher(std::move(sink)); };
    server_ = std::make_unique<web::WebServer>(settings, std::move(panel));
    if (!server_->ok()) {
        error_ = "cannot serve the browser view on " + options.address + ": " + server_->error();
        server_.reset();
        return;
    }
    port_ = server_->port();
    url_ = "http://" + HostInUrl(address->host) + ":" + std::to_string(port_) + "/";
    if (tokenMadeUp_) url_ += "?token=" + token;  // a given token is not echoed
    std::lock_guard lock(gRunningMu);
    gRunningUrl = url_;
}

WebView::~WebView()
{
    if (!server_) return;
    server_.reset();  // no viewer comes or goes from here on
    detail::SetScreenWatcher({});
    std::lock_guard lock(gRunningMu);
    gRunningUrl.clear();
}

std::string RunningWebViewUrl()
{
    std::lock_guard lock(gRunningMu);
    return gRunningUrl;
}

}  // namespace platform
