// The Display I/O board as the panel sees it on the serial line, without the line itself:
// request bytes go in, answer bytes come out. It frames requests, applies command records to
// the dryer's image (the echo), acts on the records that mean something to the board, answers
// every well-formed request of the display program with the 302-byte status frame, passes the
// firmware loader's programming requests to the board network behind it, and injects the
// faults that the control channel asks for. Not thread-safe; the simulator serialises calls.
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "sim/board_network.h"
#include "sim/dryer_model.h"
#include "sim/request_framing.h"

namespace sim {

struct BoardCounters {
    std::uint64_t requestsAnswered = 0;  // answers written, faulty ones included
    std::uint64_t polls = 0;
    std::uint64_t linkResets = 0;
    std::uint64_t commandFrames = 0;
    std::uint64_t commandRecordsApplied = 0;  // records written (refused offsets excepted)
    std::uint64_t requestsIgnored = 0;        // well-formed but unanswered (silence)
    std::uint64_t programmingRequests = 0;    // requests of the firmware loader
};

class DisplayIoBoard {
public:
    explicit DisplayIoBoard(const DryerConfig& config = DryerConfig{});

    // Bytes received from the panel at panel time nowMs. Returns what goes back on the line
    // (answers, with any injected faults), possibly nothing.
    std::vector<std::uint8_t> Receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

    // Moves the dryer to panel time nowMs (the first call only sets the starting point).
    void AdvanceTo(std::int64_t nowMs);

    // One line of the control language (see ControlHelp()). Returns the reply text.
    std::string Control(const std::string& line, std::int64_t nowMs);

    // The 302-byte status frame for the image as it stands (no faults applied).
    std::vector<std::uint8_t> BuildAnswer() const;

    StatusImage Image() const;  // the image as the board reports it
    DryerModel& model() { return model_; }
    BoardNetwork& network() { return network_; }
    const BoardNetwork& network() const { return network_; }
    const BoardCounters& counters() const { return counters_; }
    const RequestFramer& framer() const { return framer_; }

private:
    void Apply(const Request& request);
    void ApplyRecord(const CommandRecord& record);
    void AppendAnswer(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> frame);
    int Heaters() const;
    std::string Status(std::int64_t nowMs) const;

    DryerModel model_;
    BoardNetwork network_;
    RequestFramer framer_;
    BoardCounters counters_;
    std::set<std::uint16_t> refused_;                             // offsets the board will not echo
    std::vector<std::pair<std::uint16_t, std::uint8_t>> pinned_;  // bytes held at a value
    std::int64_t silentUntilMs_ = 0;
    std::int64_t lastAdvanceMs_ = -1;
    int badCrcAnswers_ = 0;
    int shortAnswers_ = 0;
    int noiseBytes_ = 0;
    int longAnswers_ = 0;
    std::uint32_t noiseSeed_ = 0x2545F491u;
};

// The control language, one command per line.
std::string ControlHelp();

}  // namespace sim
