#include "tests/installer/usb_install_support.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "installer/copy_thread.h"
#include "installer/install_dialogs.h"
#include "installer/usb_install.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "platform/windowing/window.h"

namespace usb_test {

namespace {

constexpr const wchar_t kTestWindowClass[] = L"USB_TEST_WINDOW";
constexpr UINT kAskProgress = WM_APP + 50;  // wParam: control id, lParam: dialog caption
std::atomic<HWND> gMain{nullptr};

void EnsureVirtualClock()
{
    if (platform::IsVirtualClock()) return;
    SYSTEMTIME start;
    start.wYear = 2026;
    start.wMonth = 10;
    start.wDay = 5;
    start.wHour = 9;
    platform::UseVirtualClock(start);
}

fs::path FreshRoot()
{
    static int serial = 0;
    const auto root =
        fs::temp_directory_path() /
        ("usb-install-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

// The stand-in for the program's main window: the install button and the search tick.
LRESULT TestMainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kInstallCommand) InstallFromUsb(wnd);
            return 0;
        case WM_TIMER:
            if (wp == kSearchTimer) UsbSearchTick(wnd);
            return 0;
        case kAskProgress: {
            HWND dialog = FindWindow(nullptr, reinterpret_cast<const wchar_t*>(lp));
            if (dialog == nullptr) return -1;
            return SendDlgItemMessage(dialog, static_cast<int>(wp), PBM_GETPOS, 0, 0);
        }
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void OpenTestMainWindow()
{
    platform::OpenScreen(platform::ScreenOptions{});
    WNDCLASS wc;
    wc.lpfnWndProc = TestMainProc;
    wc.lpszClassName = kTestWindowClass;
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    RegisterClass(&wc);
    HWND main = CreateWindowEx(0, kTestWindowClass, L"Copy Dryer Files", WS_VISIBLE, 0, 0,
                               platform::kScreenWidth, platform::kScreenHeight, nullptr, 0, nullptr,
                               nullptr);
    CreateWindowEx(0, WC_BUTTON, L"INSTALL", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 350, 235, 250,
                   60, main, kInstallCommand, nullptr, nullptr);
    SetTimer(main, kSearchTimer, 1000, nullptr);
    gMain = main;
}

void WriteFiles(const fs::path& folder, const std::map<std::string, std::string>& files)
{
    fs::create_directories(folder);
    for (const auto& [name, content] : files) WriteFile(folder / name, content);
}

}  // namespace

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string Narrow(const std::wstring& text)
{
    return platform::Narrow(text);
}

UsbInstallRun::UsbInstallRun(bool hardDisk) : hardDisk_(hardDisk)
{
    EnsureVirtualClock();
    ResetUsbInstall();
    root_ = FreshRoot();
    usb_ = root_ / "usb";
    if (hardDisk_) fs::create_directories(root_ / "Hard Disk");
    fs::create_directories(usb_);
    platform::SetPanelRoots(root_, usb_);
    ui_ = std::make_unique<platform::UiThread>([] {
        OpenTestMainWindow();
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
    });
    platform::WaitIdle();
}

UsbInstallRun::~UsbInstallRun()
{
    // A run still copying is stopped and let go through its pauses before the panel goes:
    // first while the panel answers its message boxes, then once more after the panel has
    // stopped, since an install dialog on its way on a slow machine may have started a run
    // after the first check. No run can start once the panel has stopped.
    const auto finishCopy = [] {
        StopCopyThread();
        for (int i = 0; i < 1000 && UsbCopyRunning(); ++i) {
            while (TopMessageBox().has_value())
                platform::AnswerMessageBox(TopMessageBox()->buttons.at(0));
            const std::int64_t end = UsbCopyPauseEnd();
            if (end != 0)
                platform::AdvanceClock(std::max<std::int64_t>(end - platform::NowMs(), 1));
            WaitFor([] { return !UsbCopyRunning() || UsbCopyPauseEnd() != 0; }, 200);
        }
    };
    platform::WaitIdle();
    finishCopy();
    ui_->Stop();
    ui_.reset();
    finishCopy();
    ResetUsbInstall();
    SetInstallProgressObserver(nullptr);
    platform::FakeDiskFreeSpace(std::nullopt);
    platform::FailFileWrites(0);
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void UsbInstallRun::UsbRelease(const std::string& name,
                               const std::map<std::string, std::string>& files)
{
    WriteFiles(usb_ / name, files);
}

void UsbInstallRun::PanelRelease(const std::string& name,
                                 const std::map<std::string, std::string>& files)
{
    WriteFiles(panel() / name, files);
}

void UsbInstallRun::Install()
{
    ASSERT_TRUE(platform::PressControl(kInstallCommand));
}

void UsbInstallRun::Advance(int milliseconds)
{
    platform::AdvanceClock(milliseconds);
    platform::WaitIdle();
}

CopyStop UsbInstallRun::RunCopy(int maxPauses)
{
    for (int pauses = 0;;) {
        const bool settled = WaitFor([] {
            return !UsbCopyRunning() || UsbCopyPauseEnd() != 0 || TopMessageBox().has_value();
        });
        if (!settled) return CopyStop::StillRunning;
        platform::WaitIdle();
        if (TopMessageBox().has_value()) return CopyStop::MessageBox;
        if (!UsbCopyRunning()) return CopyStop::Ended;
        if (pauses++ >= maxPauses) return CopyStop::StillRunning;
        const std::int64_t end = UsbCopyPauseEnd();
        platform::AdvanceClock(std::max<std::int64_t>(end - platform::NowMs(), 1));
        WaitFor([end] { return UsbCopyPauseEnd() != end || !UsbCopyRunning(); });
    }
}

int ProgressPosition(const std::wstring& dialogCaption, int barId)
{
    return static_cast<int>(SendMessage(gMain.load(), kAskProgress, static_cast<WPARAM>(barId),
                                        reinterpret_cast<LPARAM>(dialogCaption.c_str())));
}

std::vector<std::wstring> Rows(int listId)
{
    std::vector<std::wstring> rows;
    const auto list = FindControl(listId);
    if (!list.has_value()) return rows;
    for (const auto& row : list->rows) rows.push_back(row.cells.empty() ? L"" : row.cells[0]);
    return rows;
}

int SelectedRow(int listId)
{
    const auto list = FindControl(listId);
    if (!list.has_value()) return -1;
    for (std::size_t i = 0; i < list->rows.size(); ++i) {
        if (list->rows[i].selected) return static_cast<int>(i);
    }
    return -1;
}

void Answer(const std::wstring& caption, const std::wstring& button)
{
    ASSERT_TRUE(WaitFor([] { return TopMessageBox().has_value(); })) << Narrow(caption);
    const auto box = TopMessageBox();
    ASSERT_EQ(Narrow(box->title), Narrow(caption));
    ASSERT_TRUE(platform::AnswerMessageBox(button)) << Narrow(button);
}

}  // namespace usb_test
