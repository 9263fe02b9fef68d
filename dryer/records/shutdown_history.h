// The shutdown history: every shutdown the dryer reports, kept as one record (its catalogue
// text, the name of the board that reported it, the moment it was logged) in the record store
// volume "\Hard Disk\ShutdownHistoryDB", read back by warning, by node or by date and time,
// listed on the history screen, cleared, and exported to the USB drive.
//
// Every operation mounts the volume, opens the database, works, closes and unmounts, so a
// power cut between operations finds nothing open; a record is written in one transaction,
// so a power cut during an add leaves the record whole or not there at all.
//
// RECORD  PROPERTY  TYPE         CONTENT
//         1         wide string  catalogue text, "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED"
//         2         wide string  node name of the reporting board, "MAIN I/O"
//         3         file time    panel local time when the record was added
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

inline constexpr const wchar_t* kShutdownHistoryVolume = L"\\Hard Disk\\ShutdownHistoryDB";
inline constexpr const wchar_t* kShutdownHistoryDatabase = L"ShutdownHistoryDB";

// The three sort orders of the database, fixed when it is created.
enum class ShutdownSort : int {
    byWarning = 0,   // text, node, time: the order for writing
    byNode = 1,      // node, text, time
    byDateTime = 2,  // time, text, node: the list's default and the export
};

// The catalogue text of a shutdown, supplied by the screens (the warning catalogue lives
// there). Without a source a record carries an empty text.
using ShutdownTextFn = std::wstring (*)(int node, int index);
void SetShutdownTextSource(ShutdownTextFn source);

// "DISPLAY I/O", "FAN/HEATER #1".."#6", "FAN/HEATER INT #1".."#6", "MAIN I/O",
// "MOISTURE CONT" for nodes 1 to 15; empty for any other value.
std::wstring ShutdownNodeName(int node);

// Start-up and after a clear: creates the database when the volume does not hold it yet and
// refreshes the record count. Nothing happens when the volume cannot be mounted.
void CreateShutdownHistoryIfMissing();

// The record count as last read from the database (at start-up, when the list is read, after
// a clear).
DWORD ShutdownHistoryCount();
void RefreshShutdownHistoryCount();

// The decoder's record operation (communication thread): one new record with the catalogue
// text of (node, index), the node name and the panel's local time now.
void AddShutdownRecord(std::uint8_t node, std::uint8_t index);

// One record as the screen and the export show it: date "MMM dd, yyyy", time "h:mm AM".
struct ShutdownRow {
    std::wstring text;
    std::wstring node;
    std::wstring date;
    std::wstring time;
};

// Every record, in the sort order (ascending), with the count refreshed. A property missing
// from a record leaves its cell empty. Nothing when the volume or database cannot be opened.
std::vector<ShutdownRow> ReadShutdownHistory(ShutdownSort order);

// The same, telling why nothing was read: the volume could not be mounted or the database not
// opened, with the system error code in `error`.
enum class ShutdownReadOutcome { read, mountFailed, databaseNotOpened };
ShutdownReadOutcome ReadShutdownHistory(ShutdownSort order, std::vector<ShutdownRow>& rows,
                                        DWORD& error);

// The code at the start of a record's text: four hexadecimal digits, node then index ("0E08"
// is node 14, index 8). Only "0"-"9" and upper-case "A"-"F" count; any other character, or a
// text shorter than four, counts 0 for that digit.
struct ShutdownCode {
    int node = 0;
    int index = 0;
};
ShutdownCode ShutdownCodeOfText(std::wstring_view text);

// Fills a report-mode list view (four columns) with every record. Each record is shown at the
// top of the ones before it, so the list reads in reverse of the sort order: newest first by
// date and time.
void ListShutdownHistory(HWND list, ShutdownSort order);

// Deletes the volume file and creates the empty database again.
void ClearShutdownHistory();

// ---- the history screen's state, kept here for the 1-second tick ----------------------------
inline constexpr int kShutdownHistoryExitButton = 1107;
inline constexpr int kShutdownHistoryExitHold = 5;  // seconds EXIT is held to ask for a clear

struct ShutdownHistoryScreenState {
    HWND dialog = nullptr;                    // the open history screen, or null
    int exitHold = kShutdownHistoryExitHold;  // counts down once a second while EXIT is held
};
ShutdownHistoryScreenState& ShutdownHistoryScreen();

// Puts the count, the text source and the screen state back to program start (tests).
void ResetShutdownHistoryForTest();
