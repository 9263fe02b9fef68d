// The control commands of the board network: which boards are fitted and how they are set
// (the faults a scan must report: a missing board, conflicting or invalid addresses, differing
// versions, a second-generation Moisture Control), refusals and unanswered programming
// requests, and the HEX dump of a board's flash.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>

#include "sim/board_network.h"

namespace sim {

namespace {

constexpr int kMaxFaultCount = 100000;

// A decimal number, or hexadecimal with a 0x prefix, within [lo, hi].
std::optional<int> Number(const std::string& text, int lo, int hi)
{
    std::string_view s(text);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::string Hex2(unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof(buf), "0x%02X", value & 0xFFu);
    return buf;
}

}  // namespace

std::string NetworkControlHelp()
{
    return "board network commands (slots 1-15, one per scan record):\n"
           "  network                 the standard network of the dryer, flashes erased\n"
           "  boards                  list the slots (one line)\n"
           "  unplug SLOT             the board leaves the network (e.g. unplug 14: no Main I/O)\n"
           "  plug SLOT TYPE [ADDR]   fit a board of TYPE (0 M/C, 8 DI, 9 MI, 10 F/H, 11 F/H int)\n"
           "  address SLOT ADDR       set the board's address byte (conflicts, invalid addresses)\n"
           "  version SLOT BOOT DRYER set its software versions, in hundredths (201 = 2.01)\n"
           "  generation SLOT GEN     set its generation (1-16)\n"
           "  nodestatus SLOT V|auto  force the status byte of its scan record\n"
           "  refuse STEP N           refuse the next N open|erase|start|write requests\n"
           "  drop N                  leave the next N programming requests unanswered\n"
           "  flash SLOT [PATH]       the board's flash as Intel HEX: written to PATH, or without\n"
           "                          PATH in the reply, one record a line after the ok line";
}

bool BoardNetwork::IsNetworkCommand(const std::string& command)
{
    static const char* const kCommands[] = {"network", "boards",  "unplug",     "plug",
                                            "address", "version", "generation", "nodestatus",
                                            "refuse",  "drop",    "flash"};
    for (const char* name : kCommands) {
        if (command == name) return true;
    }
    return false;
}

std::string BoardNetwork::ListBoards() const
{
    std::string s = "ok board network";
    for (int slot = 1; slot <= kNetworkSlots; ++slot) {
        const NetworkBoard& b = board(slot);
        s += (slot == 1 ? ": slot " : "; slot ") + std::to_string(slot) + " ";
        if (!b.fitted) {
            s += "empty";
            continue;
        }
        s += "type " + std::to_string(b.type) + " address " + Hex2(b.address) + " gen " +
             std::to_string(b.generation) + " boot " + std::to_string(b.bootVersion) + " dryer " +
             std::to_string(b.programVersion) + " status " + Hex2(StatusByte(slot)) + " flash " +
             std::to_string(b.flash.size()) + " bytes";
    }
    return s;
}

std::string BoardNetwork::Control(const std::vector<std::string>& words, int heaters)
{
    const std::string& command = words[0];
    const auto arg = [&](std::size_t i) { return i < words.size() ? words[i] : std::string(); };
    const std::size_t args = words.size() - 1;
    const auto slotArg = [&]() { return Number(arg(1), 1, kNetworkSlots); };
    const auto fittedSlot = [&]() -> std::optional<int> {
        const auto slot = slotArg();
        if (!slot || !board(*slot).fitted) return std::nullopt;
        return slot;
    };

    if (command == "network") {
        if (args != 0) return "error: network takes no arguments";
        Rebuild(heaters);
        return "ok standard network, " + std::to_string(heaters) + " fan/heaters";
    }
    if (command == "boards") return ListBoards();
    if (command == "unplug") {
        const auto slot = slotArg();
        if (!slot || args != 1) return "error: unplug needs a SLOT (1-15)";
        board(*slot) = NetworkBoard{};
        if (linkedSlot_ == *slot) linkedSlot_ = 0;
        return "ok slot " + std::to_string(*slot) + " is empty";
    }
    if (command == "plug") {
        const auto slot = slotArg();
        const auto type = Number(arg(2), 0, 255);
        const auto address = args == 3 ? Number(arg(3), 0, 255) : slot;
        if (!slot || !type || !address || args < 2 || args > 3) {
            return "error: plug needs SLOT (1-15) TYPE (0-255) [ADDRESS (0-255)]";
        }
        NetworkBoard& b = board(*slot);
        b = NetworkBoard{};
        b.fitted = true;
        b.type = static_cast<std::uint8_t>(*type);
        b.address = static_cast<std::uint8_t>(*address);
        return "ok slot " + std::to_string(*slot) + " holds type " + std::to_string(*type);
    }
    if (command == "address") {
        const auto slot = fittedSlot();
        const auto address = Number(arg(2), 0, 255);
        if (!slot || !address || args != 2) {
            return "error: address needs a fitted SLOT (1-15) and ADDRESS (0-255)";
        }
        board(*slot).address = static_cast<std::uint8_t>(*address);
        return "ok slot " + std::to_string(*slot) + " address " + Hex2(*address);
    }
    if (command == "version") {
        const auto slot = fittedSlot();
        const auto boot = Number(arg(2), 0, 255);
        const auto dryer = Number(arg(3), 0, 255);
        if (!slot || !boot || !dryer || args != 3) {
            return "error: version needs a fitted SLOT (1-15), BOOT and DRYER (0-255)";
        }
        board(*slot).bootVersion = static_cast<std::uint8_t>(*boot);
        board(*slot).programVersion = static_cast<std::uint8_t>(*dryer);
        return "ok slot " + std::to_string(*slot) + " versions " + std::to_string(*boot) + " " +
               std::to_string(*dryer);
    }
    if (command == "generation") {
        const auto slot = fittedSlot();
        const auto generation = Number(arg(2), 1, 16);
        if (!slot || !generation || args != 2) {
            return "error: generation needs a fitted SLOT (1-15) and GEN (1-16)";
        }
        board(*slot).generation = static_cast<std::uint8_t>(*generation);
        return "ok slot " + std::to_string(*slot) + " generation " + std::to_string(*generation);
    }
    if (command == "nodestatus") {
        const auto slot = fittedSlot();
        const auto value = arg(2) == "auto" ? std::optional<int>(-1) : Number(arg(2), 0, 255);
        if (!slot || !value || args != 2) {
            return "error: nodestatus needs a fitted SLOT (1-15) and VALUE (0-255) or auto";
        }
        board(*slot).statusOverride = *value;
        return "ok slot " + std::to_string(*slot) + " status " + Hex2(StatusByte(*slot));
    }
    if (command == "refuse") {
        static const char* const kSteps[] = {"open", "erase", "start", "write"};
        int step = -1;
        for (int i = 0; i < kStepCount; ++i) {
            if (arg(1) == kSteps[i]) step = i;
        }
        const auto n = Number(arg(2), 0, kMaxFaultCount);
        if (step < 0 || !n || args != 2) {
            return "error: refuse needs a STEP (open, erase, start or write) and a count N";
        }
        refusals_[static_cast<std::size_t>(step)] = *n;
        return "ok refuse " + arg(1) + " " + std::to_string(*n);
    }
    if (command == "drop") {
        const auto n = Number(arg(1), 0, kMaxFaultCount);
        if (!n || args != 1) return "error: drop needs a count N (0-100000)";
        dropRequests_ = *n;
        return "ok drop " + std::to_string(*n);
    }
    // flash SLOT [PATH]
    const auto slot = slotArg();
    if (!slot || args < 1 || args > 2) return "error: flash needs a SLOT (1-15) [PATH]";
    const std::string hex = FlashHex(*slot);
    if (args == 1) return "ok flash of slot " + std::to_string(*slot) + "\n" + hex;
    std::ofstream out(arg(2), std::ios::binary | std::ios::trunc);
    out << hex << "\n";
    out.close();
    if (!out) return "error: cannot write " + arg(2);
    return "ok flash of slot " + std::to_string(*slot) + " written to " + arg(2);
}

}  // namespace sim
