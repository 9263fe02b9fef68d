// The automation commands of the control socket as values: one text line in, one command (or
// the reason it is refused) out. Parsing checks every number against its range, so a command
// that reaches the panel is one it can carry out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace platform {

inline constexpr int kMaxControlCoordinate = 32767;  // taps beyond the screen miss it
inline constexpr std::int64_t kMaxControlAdvanceMs = 7LL * 24 * 3600 * 1000;  // one week
inline constexpr unsigned kMaxVirtualKey = 0xFE;

enum class ControlVerb { Tap, Down, Up, Move, Press, Tree, Answer, Screenshot, Key, Advance, Idle };

struct ControlCommand {
    ControlVerb verb = ControlVerb::Idle;
    int x = 0;  // tap, down, up, move
    int y = 0;
    int id = 0;           // press
    std::string text;     // answer: the button label; screenshot: the path
    unsigned key = 0;     // key: the virtual key code
    bool alt = false;     // key: with Alt held
    std::int64_t ms = 0;  // advance
};

// A refused line: what was wrong, as the error text of the answer.
struct ControlRefusal {
    std::string why;
};

// Parses one command line ("tap X Y", "down X Y", "up X Y", "move X Y", "press ID", "tree",
// "answer BUTTON", "screenshot PATH", "key VK [alt]", "advance MS", "idle"). Any bytes may come
// in; the refusal names what was wrong and the allowed range.
std::variant<ControlCommand, ControlRefusal> ParseControlCommand(std::string_view line);

}  // namespace platform
