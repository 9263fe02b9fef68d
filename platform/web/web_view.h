// The panel in a browser: while a program runs with --http, its live screen is served as a web
// page on which viewers watch and one of them works the panel with mouse or finger. Off unless
// asked for; on loopback unless an address is given; beyond loopback only with the token.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/web/web_view_options.h"

namespace platform {

namespace web {
class WebServer;
}

// The check of --http's value: empty when it is a usable address, else why not.
std::string CheckWebViewAddress(const std::string& value);
// The check of --http-token's value.
std::string CheckWebViewToken(const std::string& value);

// Serves the open screen for as long as it lives. Start it after the screen is open and end it
// before the screen closes.
class WebView {
public:
    // Listens at once; ok() tells whether it could. `program` names the page ("orbitdryer").
    WebView(const WebViewOptions& options, const std::string& program);
    ~WebView();
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }  // one line: why it cannot listen
    std::uint16_t port() const { return port_; }
    // The page's address for a person to open (with the token when it was made up here; a
    // token given by the user is not repeated).
    const std::string& url() const { return url_; }
    // Whether the token was made up here, so that it must be told to the people who use it.
    bool tokenMadeUp() const { return tokenMadeUp_; }

private:
    std::unique_ptr<web::WebServer> server_;
    std::string error_;
    std::string url_;
    std::uint16_t port_ = 0;
    bool tokenMadeUp_ = false;
};

// The page address of the browser view the running program serves ("" when none): for tests
// that run a program in their own process and must find the port the system chose.
std::string RunningWebViewUrl();

}  // namespace platform
