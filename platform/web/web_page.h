// The pages the browser view gives out, kept in the program: the panel page (a 640 x 480
// canvas that fits the browser window, with a line saying who holds control), its script, and
// the page that tells a viewer without the token what is needed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/web/web_access.h"

namespace platform::web {

// A request as far as the pages care.
struct PageRequest {
    bool read = true;         // false: HEAD and GET are answered, anything else is refused
    bool upgrade = false;     // asks to become a viewer's WebSocket
    std::string_view target;  // "/view?token=..."
    std::string_view host;    // the Host field
    std::string_view origin;  // the Origin field; empty when none
};

struct PageAnswer {
    int status = 200;
    std::string_view type;  // the Content-Type
    std::string body;
};

// Why a request is turned away before anything else happens: a viewer's WebSocket only at
// /view, the page and the view only past the access checks, no viewer beyond the limit
// (`viewersFull`). Nothing when it may go on.
std::optional<PageAnswer> RefusalOf(const PageRequest& request, const AccessRules& rules,
                                    bool viewersFull);
// The answer to a request that passed: the page, its script, or not found.
PageAnswer AnswerTo(const PageRequest& request, std::string_view program);

// The panel page; `program` names it ("orbitdryer").
std::string PanelPage(std::string_view program);
std::string_view PanelScript();
std::string_view TokenNeededPage();

}  // namespace platform::web
