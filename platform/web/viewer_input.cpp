// Viewers' messages read strictly, what they are told, and the gate their touches pass on the
// way to the panel.
#include "platform/web/viewer_input.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

#include "platform/runtime/runtime.h"

namespace platform::web {

namespace {

using detail::PointerKind;

constexpr std::size_t kLongestName = 24;

std::optional<int> Coordinate(const nlohmann::json& object, const char* key, int limit)
{
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) return std::nullopt;
    const auto value = it->get<std::int64_t>();
    if (value < 0 || value >= limit) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

std::optional<ViewerMessage> ParseViewerMessage(std::string_view text)
{
    if (text.empty() || text.size() > kLongestViewerMessage) return std::nullopt;
    const nlohmann::json message = nlohmann::json::parse(text, nullptr, false);
    if (message.is_discarded() || !message.is_object()) return std::nullopt;
    const auto type = message.find("type");
    if (type == message.end() || !type->is_string()) return std::nullopt;
    const std::string& verb = type->get_ref<const std::string&>();
    if (verb == "take") {
        if (message.size() != 1) return std::nullopt;
        return ViewerMessage{ViewerVerb::Take, 0, 0};
    }
    ViewerMessage out;
    if (verb == "down") {
        out.verb = ViewerVerb::Down;
    } else if (verb == "move") {
        out.verb = ViewerVerb::Move;
    } else if (verb == "up") {
        out.verb = ViewerVerb::Up;
    } else {
        return std::nullopt;
    }
    const auto x = Coordinate(message, "x", kScreenWidth);
    const auto y = Coordinate(message, "y", kScreenHeight);
    if (!x || !y || message.size() != 3) return std::nullopt;
    out.x = *x;
    out.y = *y;
    return out;
}

std::string ViewerName(std::string_view given)
{
    std::string name;
    for (char c : given) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == ' ' ||
                           c == '.' || c == '-' || c == '_' || c == '\'';
        if (plain && name.size() < kLongestName) name.push_back(c);
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

std::string StateLine(const ViewerState& state)
{
    nlohmann::json line;
    line["type"] = "state";
    line["program"] = state.program;
    line["you"] = state.you;
    line["youName"] = state.youName;
    line["holder"] = state.holder;
    line["holderName"] = state.holderName;
    line["viewers"] = state.viewers;
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

TouchGate::TouchGate(Inject inject, TouchLimits limits)
    : inject_(std::move(inject)), limits_(limits)
{
}

void TouchGate::Join(int viewer)
{
    if (holder_ == 0) holder_ = viewer;
}

void TouchGate::Leave(int viewer)
{
    if (viewer != holder_) return;
    Lift();
    holder_ = 0;
}

void TouchGate::Take(int viewer)
{
    if (viewer == holder_) return;
    Lift();
    holder_ = viewer;
}

void TouchGate::Lift()
{
    if (!held_) return;
    held_ = false;
    inject_(PointerKind::Up, lastX_, lastY_);
}

bool TouchGate::Spend(std::int64_t nowMs)
{
    const std::int64_t full = std::int64_t{limits_.burst} * 1000;
    if (credit_ < 0) {
        credit_ = full;
        creditAt_ = nowMs;
    }
    const std::int64_t elapsed = std::max<std::int64_t>(0, nowMs - creditAt_);
    credit_ = std::min(full, credit_ + elapsed * limits_.perSecond);
    creditAt_ = nowMs;
    if (credit_ < 1000) return false;
    credit_ -= 1000;
    return true;
}

TouchGate::Outcome TouchGate::Touch(int viewer, const ViewerMessage& message, std::int64_t nowMs)
{
    if (viewer != holder_ || viewer == 0) return Outcome::NotInControl;
    switch (message.verb) {
        case ViewerVerb::Down:
            if (held_) return Outcome::Ignored;  // a second finger: the panel knows one
            if (!Spend(nowMs)) return Outcome::OverRate;
            held_ = true;
            inject_(PointerKind::Down, message.x, message.y);
            break;
        case ViewerVerb::Move:
            if (!held_) return Outcome::Ignored;
            if (!Spend(nowMs)) return Outcome::OverRate;
            inject_(PointerKind::Move, message.x, message.y);
            break;
        case ViewerVerb::Up:
            if (!held_) return Outcome::Ignored;
            held_ = false;
            inject_(PointerKind::Up, message.x, message.y);
            break;
        case ViewerVerb::Take: return Outcome::Ignored;
    }
    lastX_ = message.x;
    lastY_ = message.y;
    return Outcome::Applied;
}

}  // namespace platform::web
