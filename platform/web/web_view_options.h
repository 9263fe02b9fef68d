// The browser view's options as the command line gives them: where it listens and the access
// token. A light header: the command line and the program start-up read it without the server.
#pragma once

#include <string>

namespace platform {

// The default of --http-token, so that the token need not stand on a command line that every
// user of the machine can list.
inline constexpr const char* kPanelHttpTokenVariable = "PANEL_HTTP_TOKEN";

struct WebViewOptions {
    // "ADDR:PORT", "[IPV6]:PORT" or a bare "PORT" (loopback). Empty: no browser view (default).
    std::string address;
    // The shared secret a viewer must give (?token=...). Empty: none on loopback; beyond
    // loopback one is made up at start and printed.
    std::string token;
};

}  // namespace platform
