// The shutdown history's database: creating it, adding the decoder's records, reading them
// back in a sort order, listing them on the screen and clearing them; and the history's part
// of the program's start-up and 1-second tick.
#include "dryer/records/shutdown_history.h"

#include <array>
#include <atomic>
#include <optional>
#include <utility>

#include "dryer/link/link_state.h"
#include "dryer/records/data_log_hooks.h"
#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "platform/storage/record_store.h"

namespace {

using platform::Record;
using platform::RecordProperty;
using platform::RecordSortOrder;
using platform::RecordVolume;

constexpr WORD kTextProperty = 1;
constexpr WORD kNodeProperty = 2;
constexpr WORD kTimeProperty = 3;
constexpr DWORD kTextId =
    platform::MakeRecordPropertyId(kTextProperty, platform::kRecordWideString);
constexpr DWORD kNodeId =
    platform::MakeRecordPropertyId(kNodeProperty, platform::kRecordWideString);
constexpr DWORD kTimeId = platform::MakeRecordPropertyId(kTimeProperty, platform::kRecordFileTime);
constexpr DWORD kDatabaseType = 0;

const std::array<RecordSortOrder, 3> kSortOrders = {{
    {kTextId, kNodeId, kTimeId},  // by warning
    {kNodeId, kTextId, kTimeId},  // by node id
    {kTimeId, kTextId, kNodeId},  // by date and time
}};

constexpr const wchar_t* kDatePicture = L"MMM dd',' yyy";
constexpr const wchar_t* kTimePicture = L"h':'mm tt";

std::atomic<ShutdownTextFn> gTextSource{nullptr};
std::atomic<DWORD> gRecordCount{0};

std::optional<platform::RecordDatabase> OpenHistory(RecordVolume& volume, ShutdownSort order)
{
    return volume.OpenDatabase(kShutdownHistoryDatabase, static_cast<std::size_t>(order));
}

std::wstring Formatted(const FILETIME& when, bool date)
{
    SYSTEMTIME t;
    if (!FileTimeToSystemTime(&when, &t)) return L"";
    std::array<wchar_t, 64> out{};
    const int n = date ? GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, kDatePicture, out.data(),
                                       static_cast<int>(out.size()))
                       : GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, kTimePicture, out.data(),
                                       static_cast<int>(out.size()));
    return n > 0 ? std::wstring(out.data()) : std::wstring();
}

ShutdownRow RowOf(const Record& record)
{
    ShutdownRow row;
    for (const RecordProperty& p : record) {
        if (p.number() == kTextProperty && p.text() != nullptr) row.text = *p.text();
        if (p.number() == kNodeProperty && p.text() != nullptr) row.node = *p.text();
        if (p.number() == kTimeProperty && p.time() != nullptr) {
            row.date = Formatted(*p.time(), true);
            row.time = Formatted(*p.time(), false);
        }
    }
    return row;
}

void SetCell(HWND list, int item, int column, const std::wstring& text)
{
    LVITEM cell;
    cell.mask = LVIF_TEXT;
    cell.iItem = item;
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

void SetShutdownTextSource(ShutdownTextFn source)
{
    gTextSource.store(source);
}

std::wstring ShutdownNodeName(int node)
{
    if (node == 1) return L"DISPLAY I/O";
    if (node >= 2 && node <= 7) return L"FAN/HEATER #" + std::to_wstring(node - 1);
    if (node >= 8 && node <= 13) return L"FAN/HEATER INT #" + std::to_wstring(node - 7);
    if (node == 14) return L"MAIN I/O";
    if (node == 15) return L"MOISTURE CONT";
    return L"";
}

void CreateShutdownHistoryIfMissing()
{
    auto volume = RecordVolume::Mount(kShutdownHistoryVolume);
    if (!volume) return;  // no disk to keep the history on: nothing is recorded
    auto db = OpenHistory(*volume, ShutdownSort::byWarning);
    if (!db) {
        if (!volume->CreateDatabase(kShutdownHistoryDatabase, kDatabaseType, kSortOrders)) return;
        db = OpenHistory(*volume, ShutdownSort::byWarning);
    }
    if (db) gRecordCount.store(db->RecordCount());
}

DWORD ShutdownHistoryCount()
{
    return gRecordCount.load();
}

void RefreshShutdownHistoryCount()
{
    auto volume = RecordVolume::Mount(kShutdownHistoryVolume);
    if (!volume) return;
    if (auto db = OpenHistory(*volume, ShutdownSort::byWarning)) {
        gRecordCount.store(db->RecordCount());
    }
}

void AddShutdownRecord(std::uint8_t node, std::uint8_t index)
{
    const std::wstring nodeName = ShutdownNodeName(node);
    auto volume = RecordVolume::Mount(kShutdownHistoryVolume);
    if (!volume) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME when;
    SystemTimeToFileTime(&now, &when);
    const ShutdownTextFn source = gTextSource.load();
    std::wstring text = source != nullptr ? source(node, index) : std::wstring();
    auto db = OpenHistory(*volume, ShutdownSort::byWarning);
    if (!db) return;
    db->WriteRecord({RecordProperty::Text(kTextProperty, std::move(text)),
                     RecordProperty::Text(kNodeProperty, nodeName),
                     RecordProperty::Time(kTimeProperty, when)});
    // The count is not refreshed here: the screen reads it again when it lists.
}

ShutdownReadOutcome ReadShutdownHistory(ShutdownSort order, std::vector<ShutdownRow>& rows,
                                        DWORD& error)
{
    rows.clear();
    auto volume = RecordVolume::Mount(kShutdownHistoryVolume);
    if (!volume) {
        error = GetLastError();
        return ShutdownReadOutcome::mountFailed;
    }
    auto db = OpenHistory(*volume, order);
    if (!db) {
        error = GetLastError();
        return ShutdownReadOutcome::databaseNotOpened;
    }
    // Opening reads from the beginning, with every record written so far: also those the
    // decoder added while the screen was showing.
    gRecordCount.store(db->RecordCount());
    rows.reserve(gRecordCount.load());
    while (auto record = db->ReadNext()) rows.push_back(RowOf(*record));
    error = 0;
    return ShutdownReadOutcome::read;
}

std::vector<ShutdownRow> ReadShutdownHistory(ShutdownSort order)
{
    std::vector<ShutdownRow> rows;
    DWORD error = 0;
    ReadShutdownHistory(order, rows, error);
    return rows;
}

ShutdownCode ShutdownCodeOfText(std::wstring_view text)
{
    const auto digit = [&](std::size_t at) {
        if (at >= text.size()) return 0;
        const wchar_t c = text[at];
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        return 0;
    };
    return ShutdownCode{digit(0) * 16 + digit(1), digit(2) * 16 + digit(3)};
}

void ListShutdownHistory(HWND list, ShutdownSort order)
{
    SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<ShutdownRow> rows = ReadShutdownHistory(order);
    // Each record goes on top of those before it. Appending them last to first gives the same
    // rows without moving the list's rows once per record.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        LVITEM item;
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<wchar_t*>(it->text.c_str());
        const auto at =
            static_cast<int>(SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0) continue;
        SetCell(list, at, 1, it->node);
        SetCell(list, at, 2, it->date);
        SetCell(list, at, 3, it->time);
    }
}

void ClearShutdownHistory()
{
    platform::DeleteRecordVolume(kShutdownHistoryVolume);
    gRecordCount.store(0);
    CreateShutdownHistoryIfMissing();
}

ShutdownHistoryScreenState& ShutdownHistoryScreen()
{
    static ShutdownHistoryScreenState state;
    return state;
}

void ResetShutdownHistoryForTest()
{
    gTextSource.store(nullptr);
    gRecordCount.store(0);
    ShutdownHistoryScreen() = ShutdownHistoryScreenState{};
}

// ---- the program's calls (dryer/records/data_log_hooks.h) -----------------------------------

void ClearShutdownHistoryVolumeId()
{
    gRecordCount.store(0);
}

// Creates the database if it is missing and from then on takes the decoder's records.
void StartShutdownHistory()
{
    CreateShutdownHistoryIfMissing();
    RecordShutdownHook.store(&AddShutdownRecord);
}

// The hidden clear: while the history screen is open, EXIT held down counts the hold down
// once a second; let go, the hold starts again from five.
void ShutdownHistoryHoldTick()
{
    ShutdownHistoryScreenState& screen = ShutdownHistoryScreen();
    if (screen.dialog == nullptr) return;
    const LRESULT state =
        SendDlgItemMessage(screen.dialog, kShutdownHistoryExitButton, BM_GETSTATE, 0, 0);
    if ((state & BST_PUSHED) == 0) {
        screen.exitHold = kShutdownHistoryExitHold;
    } else if (screen.exitHold > 0) {
        --screen.exitHold;
    }
}
