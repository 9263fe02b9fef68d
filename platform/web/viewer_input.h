// What viewers in a browser send and how it reaches the panel, and what they are told about one
// another. Each message is read strictly
// (anything else is dropped with no effect), only the viewer who holds control touches the
// panel, touches are limited in rate, and a touch held down is always lifted again, also when
// its viewer leaves or control passes to another. The touches go the way the panel's own
// touch screen's do.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windowing/detail_window.h"

namespace platform::web {

// Longer messages are no message of a viewer.
inline constexpr std::size_t kLongestViewerMessage = 256;

enum class ViewerVerb { Down, Move, Up, Take };

struct ViewerMessage {
    ViewerVerb verb = ViewerVerb::Take;
    int x = 0;  // panel pixels, for Down, Move and Up
    int y = 0;
};

// Reads one text message: a JSON object {"type":"down"|"move"|"up","x":X,"y":Y} with whole
// numbers on the 640 x 480 panel, or {"type":"take"}; no other keys. Nothing for anything else.
std::optional<ViewerMessage> ParseViewerMessage(std::string_view text);

// A viewer's name as its page gives it, kept to at most 24 plain characters (letters, digits,
// blanks, . - _ '): it is shown to the other viewers.
std::string ViewerName(std::string_view given);

// The state line each viewer is sent when control or the viewers change.
struct ViewerState {
    std::string program;
    int you = 0;
    std::string youName;
    int holder = 0;  // 0: nobody holds control
    std::string holderName;
    std::size_t viewers = 0;
};
std::string StateLine(const ViewerState& state);

struct TouchLimits {
    int perSecond = 40;  // touches (downs and moves) let through on average
    int burst = 40;      // and at once after a quiet spell
};

class TouchGate {
public:
    using Inject = std::function<void(detail::PointerKind kind, int x, int y)>;
    enum class Outcome { Applied, NotInControl, OverRate, Ignored };

    explicit TouchGate(Inject inject, TouchLimits limits = {});

    // A viewer arrives: it takes control when nobody holds it.
    void Join(int viewer);
    // A viewer leaves: its held touch is lifted and control is free.
    void Leave(int viewer);
    // The viewer takes control; the touch the holder held is lifted first.
    void Take(int viewer);
    // 0: nobody holds control.
    int holder() const { return holder_; }

    // A touch of a viewer at panel time nowMs. Downs and moves beyond the rate are dropped;
    // an up is let through whenever its down was, so the panel is never left held.
    Outcome Touch(int viewer, const ViewerMessage& message, std::int64_t nowMs);

private:
    bool Spend(std::int64_t nowMs);
    void Lift();

    Inject inject_;
    TouchLimits limits_;
    int holder_ = 0;
    bool held_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    std::int64_t credit_ = -1;  // thousandths of a touch; -1: full, not yet used
    std::int64_t creditAt_ = 0;
};

}  // namespace platform::web
