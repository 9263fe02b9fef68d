// Listing a long shutdown history: 10,000 records read from the volume in each sort order,
// formatted and put into the history screen's list view, as the screen does when it opens or
// a sort button is pressed. The target is under 50 ms per listing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "dryer/records/shutdown_history.h"
#include "dryer/screens/home_panels.h"
#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/storage/files.h"
#include "platform/storage/record_store.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kRecords = 10000;

// A panel root on a RAM disk where there is one: the history is written once, record by
// record as the dryer would, and each write waits for the disk.
std::filesystem::path BenchRoot()
{
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    return base / ("history-bench-" + std::to_string(::getpid()));
}

// 10,000 records of mixed codes over 10,000 minutes.
void FillHistory()
{
    const int codes[] = {0x0E08, 0x0F02, 0x0203, 0x0E19, 0x0713, 0x010A, 0x0E18, 0x0505};
    auto volume = platform::RecordVolume::Mount(kShutdownHistoryVolume);
    auto db = volume->OpenDatabase(kShutdownHistoryDatabase, 0);
    for (int i = 0; i < kRecords; ++i) {
        const int code = codes[(i * 7) % 8];
        SYSTEMTIME t;
        t.wYear = 2026;
        t.wMonth = static_cast<WORD>(1 + (i / 1440) % 12);
        t.wDay = static_cast<WORD>(1 + (i / 60) % 24);
        t.wHour = static_cast<WORD>(i % 24);
        t.wMinute = static_cast<WORD>(i % 60);
        FILETIME when;
        SystemTimeToFileTime(&t, &when);
        db->WriteRecord({platform::RecordProperty::Text(
                             1, home_panels::WarningCatalogueText(code >> 8, code & 0xFF)),
                         platform::RecordProperty::Text(2, ShutdownNodeName(code >> 8)),
                         platform::RecordProperty::Time(3, when)});
    }
}

HWND MakeList()
{
    HWND list = CreateWindowEx(0, WC_LISTVIEW, L"", WS_VISIBLE | LVS_REPORT | WS_BORDER, 5, 25, 626,
                               288, nullptr, 0, nullptr, nullptr);
    const wchar_t* titles[] = {L"Shutdown ID", L"Node ID", L"Date", L"Time"};
    const int widths[] = {325, 90, 90, 90};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMN column;
        column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx = widths[i];
        column.pszText = titles[i];
        column.iSubItem = i;
        SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(i),
                    reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void BM_ListTenThousandRecords(benchmark::State& state)
{
    const auto root = BenchRoot();
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Hard Disk");
    platform::SetPanelRoots(root, root / "usb");
    CreateShutdownHistoryIfMissing();
    FillHistory();
    platform::OpenScreen(platform::ScreenOptions{});
    HWND list = MakeList();
    const auto order = static_cast<ShutdownSort>(state.range(0));
    for (auto _ : state) {
        ListShutdownHistory(list, order);
        benchmark::DoNotOptimize(SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
    }
    if (SendMessage(list, LVM_GETITEMCOUNT, 0, 0) != kRecords) state.SkipWithError("rows lost");
    DestroyWindow(list);
    platform::CloseScreen();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ListTenThousandRecords)
    ->ArgName("order")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
