// What a browser may send the panel's web view, as random bytes: a viewer's message, a request
// target with its Host and Origin fields through the access checks, and the listening address
// of the command line. Nothing may crash or read out of bounds, and a message that is read must
// hold a point on the panel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/runtime/runtime.h"
#include "platform/web/viewer_input.h"
#include "platform/web/web_access.h"
#include "platform/web/web_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto m = platform::web::ParseViewerMessage(bytes)) {
        if (m->x < 0 || m->x >= platform::kScreenWidth || m->y < 0 ||
            m->y >= platform::kScreenHeight) {
            std::abort();
        }
    }
    // Target, Host and Origin cut from the same bytes at two points.
    const std::size_t a = size / 3;
    const std::size_t b = 2 * size / 3;
    const std::string_view target = bytes.substr(0, a);
    const std::string_view host = bytes.substr(a, b - a);
    const std::string_view origin = bytes.substr(b);
    for (const platform::web::AccessRules& rules :
         {platform::web::AccessRules{"", true},
          platform::web::AccessRules{"abcdefghijkl0123", false}}) {
        platform::web::CheckRequest(rules, target, host, origin);
        for (const bool upgrade : {false, true}) {
            const platform::web::PageRequest request{true, upgrade, target, host, origin};
            if (!platform::web::RefusalOf(request, rules, false)) {
                platform::web::AnswerTo(request, "orbitdryer");
            }
        }
    }
    platform::web::QueryValue(bytes, "token");
    platform::web::ParseListenAddress(bytes);
    platform::web::CheckToken(bytes);
    return 0;
}
