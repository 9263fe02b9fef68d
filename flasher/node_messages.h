// The lines the programming link adds to the upload and scan lists: the eight node message
// tables (one row per NodeId, row 0 for a number that names no board) and the fixed lines of
// the link. Every text is the panel's own, byte for byte, leading blanks included.
#pragma once

#include <cstdint>

// The eight node message tables.
enum class NodeMessageTable : std::uint8_t {
    openAttempt,   // " << Attempting to Open Link to Main I/O..."
    closeAttempt,  // " << Attempting to Close Link to Main I/O..."
    linkOpen,      // " >> Link with Main I/O Open."
    linkClosed,    // " >> Link with Main I/O Closed."
    linkFailed,    // " >> Link with Main I/O Failed."
    eraseAttempt,  // " << Attempting to Erase Main I/O Flash Memory..."
    eraseFailed,   // " >> Erasing of Main I/O Failed."
    eraseDone,     // " >> Erasing of Main I/O Done."
};

// The row of `table` for the node number `node`. Any number outside 1-15 (an answer may carry
// any byte there) gives row 0, the invalid-node text.
const wchar_t* NodeMessage(NodeMessageTable table, unsigned node);

// Fixed lines of the link.
inline constexpr const wchar_t kBlankLine[] = L"  ";
inline constexpr const wchar_t kSendingStartAddressLine[] =
    L" << Sending Flash Starting Address...";
inline constexpr const wchar_t kStartAddressAcceptedLine[] =
    L" >> Flash Start Address Accepted. [01]";
inline constexpr const wchar_t kStartAddressRejectedLine[] =
    L" >> Flash Start Address NOT Accepted. [02]";
inline constexpr const wchar_t kWriteFailedLine[] = L" >> Flash Write Failed! [03]";
inline constexpr const wchar_t kScanInProgressLine[] = L"Scan of Network in Progress...";
inline constexpr const wchar_t kNoResponseLine[] = L"No Response From Display I/O.";
inline constexpr const wchar_t kTryingAgainLine[] = L"No Response... Trying Again.";
inline constexpr const wchar_t kProgrammingTerminatedLine[] =
    L"PROGRAMMING TERMINATED... MOVING ON TO NEXT NODE.";
// Shown (no caption) when "COM1:" cannot be opened.
inline constexpr const wchar_t kCouldNotOpenPortText[] = L"COULD NOT OPEN SERIAL PORT";
