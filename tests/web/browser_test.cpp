// The browser view end to end: the built orbitdryer runs headless on its simulator with --http,
// and headless Chromium opens the page. The page must show what the panel shows, a mouse click
// on VIEW must open the view menu and a finger on EXIT must close it, as on the panel itself;
// a viewer without the token is refused and told so. What the panel does is read through its
// automation socket. Set PANEL_BROWSER_SCREENSHOT=FILE to keep a picture of the page.
#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "platform/win_types.h"
#include "tests/support/child_process.h"
#include "tests/support/headless_chromium.h"
#include "tests/support/png_picture.h"
#include "tests/support/raw_client.h"

namespace {

namespace fs = std::filesystem;
using test_support::ChildProcess;
using test_support::DecodePng;
using test_support::HeadlessChromium;
using test_support::Picture;
using test_support::WaitFor;

constexpr int kStartMs = 20'000;  // real time for a program or the browser to come up
constexpr int kShowMs = 8'000;    // real time for the page or the panel to follow
constexpr int kViewButton = 0x8804;
constexpr int kExitViewButton = 0x9020;
constexpr const char* kViewMenu = "VIEW_SELECTION_WINDOW";

fs::path FreshRoot()
{
    static int serial = 0;
    const fs::path root =
        fs::temp_directory_path() /
        ("browser-view-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

// The display on its simulator, with its automation socket and the browser view.
class Display {
public:
    Display(const fs::path& root, std::vector<std::string> http)
        : root_(root), child_(Args(root, std::move(http)), root)
    {
        WaitFor(
            [&] {
                const std::string err = child_.Stderr();
                std::smatch m;
                static const std::regex line("browser view on (http://[^ \n]+)");
                if (std::regex_search(err, m, line)) url_ = m[1];
                return !url_.empty() || !child_.running();
            },
            kStartMs);
        WaitFor([&] { return !Ask("idle").empty() || !child_.running(); }, kStartMs);
    }
    static std::vector<std::string> Args(const fs::path& root, std::vector<std::string> http)
    {
        std::vector<std::string> args = {ORBITDRYER_EXECUTABLE,
                                         "--headless",
                                         "--root",
                                         root.string(),
                                         "--simulate",
                                         "--sim-control",
                                         (root / "sim.sock").string(),
                                         "--control",
                                         (root / "control.sock").string()};
        args.insert(args.end(), http.begin(), http.end());
        return args;
    }
    ~Display()
    {
        child_.Signal(SIGTERM);
        child_.WaitForExit(10000);
    }

    const std::string& url() const { return url_; }
    std::string Stderr() const { return child_.Stderr(); }
    std::string Ask(const std::string& command) const
    {
        return test_support::Ask((root_ / "control.sock").string(), command);
    }
    nlohmann::json Tree() const
    {
        const auto tree = nlohmann::json::parse(Ask("tree"), nullptr, false);
        return tree.is_object() && tree.contains("windows") ? tree : nlohmann::json::object();
    }
    bool Shows(const std::string& cls) const
    {
        const auto tree = Tree();
        if (!tree.contains("windows")) return false;
        for (const auto& w : tree["windows"]) {
            if (w.value("class", "") == cls) return true;
        }
        return false;
    }
    // The centre of a visible control, panel pixels.
    std::optional<std::pair<int, int>> ControlCentre(int id) const
    {
        const auto tree = Tree();
        if (!tree.contains("windows")) return std::nullopt;
        for (const auto& w : tree["windows"]) {
            for (const auto& c : w["controls"]) {
                if (c.value("id", -1) != id || !c.value("visible", false)) continue;
                const auto& r = c["rect"];
                return std::pair{(r[0].get<int>() + r[2].get<int>()) / 2,
                                 (r[1].get<int>() + r[3].get<int>()) / 2};
            }
        }
        return std::nullopt;
    }
    std::optional<Picture> Screenshot() const
    {
        const fs::path file = root_ / "panel-shot.png";
        fs::remove(file);
        if (Ask("screenshot " + file.string()).find("\"ok\":true") == std::string::npos) {
            return std::nullopt;
        }
        return DecodePng(test_support::ReadFile(file));
    }
    // The board answers on: the display polls it every 350 ms.
    bool Polls() const
    {
        const auto answered = [&] {
            const std::string status = test_support::Ask((root_ / "sim.sock").string(), "status");
            const auto at = status.find("answered ");
            return at == std::string::npos ? -1L : std::stol(status.substr(at + 9));
        };
        const long before = answered();
        return before >= 0 && WaitFor([&] { return answered() >= before + 3; }, kShowMs);
    }

private:
    fs::path root_;
    ChildProcess child_;
    std::string url_;
};

// The share of pixels of `area` (panel pixels) in which the page's canvas and the panel agree.
double Agreement(const Picture& canvas, const Picture& panel, int left, int top, int right,
                 int bottom)
{
    if (canvas.width != 640 || canvas.height != 480 || panel.width != 640 || panel.height != 480) {
        return 0;
    }
    long same = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            same += canvas.pixels[y * 640 + x] == panel.pixels[y * 640 + x];
    }
    return static_cast<double>(same) / ((right - left) * (bottom - top));
}

class BrowserView : public ::testing::Test {
protected:
    void SetUp() override { root_ = FreshRoot(); }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    std::optional<Picture> Canvas(HeadlessChromium& browser)
    {
        const auto url = browser.Evaluate(
            "panelView.settled().then(() => "
            "document.getElementById('panel').toDataURL('image/png'))");
        if (!url || !url->is_string()) return std::nullopt;
        const std::string text = url->get<std::string>();
        const auto comma = text.find(',');
        if (comma == std::string::npos) return std::nullopt;
        return DecodePng(test_support::Base64Decoded(text.substr(comma + 1)));
    }

    // Waits until the page shows what the panel shows in `area`: all of it but what moves
    // between the two pictures (the fan, a blinking line) must agree.
    bool PageShowsThePanel(HeadlessChromium& browser, const Display& display, RECT area,
                           double share = 0.97)
    {
        return WaitFor(
            [&] {
                const auto panel = display.Screenshot();
                const auto canvas = Canvas(browser);
                if (!panel || !canvas) return false;
                lastAgreement_ =
                    Agreement(*canvas, *panel, area.left, area.top, area.right, area.bottom);
                return lastAgreement_ >= share;
            },
            kShowMs);
    }

    // A panel pixel as a point of the page.
    std::optional<std::pair<double, double>> PagePoint(HeadlessChromium& browser, int x, int y)
    {
        const auto box = browser.Evaluate(
            "(() => { const r = document.getElementById('panel').getBoundingClientRect(); "
            "return [r.left, r.top, r.width, r.height]; })()");
        if (!box || !box->is_array() || box->size() != 4) return std::nullopt;
        const double left = (*box)[0].get<double>();
        const double top = (*box)[1].get<double>();
        const double width = (*box)[2].get<double>();
        const double height = (*box)[3].get<double>();
        return std::pair{left + (x + 0.5) * width / 640, top + (y + 0.5) * height / 480};
    }

    bool Connected(HeadlessChromium& browser)
    {
        return WaitFor(
            [&] {
                const auto v = browser.Evaluate("panelView.connected && panelView.updates > 0");
                return v && v->is_boolean() && v->get<bool>();
            },
            kShowMs);
    }

    std::string PageText(HeadlessChromium& browser)
    {
        const auto text = browser.Evaluate("document.body.innerText");
        return text && text->is_string() ? text->get<std::string>() : std::string();
    }

    fs::path root_;
    double lastAgreement_ = 0;
};

TEST_F(BrowserView, ShowsTheHomeScreenAndWorksTheViewMenuByMouseAndFinger)
{
    Display display(root_, {"--http", "127.0.0.1:0"});
    ASSERT_FALSE(display.url().empty()) << display.Stderr();
    HeadlessChromium browser(root_);
    ASSERT_TRUE(browser.ok()) << browser.why();
    ASSERT_TRUE(browser.Navigate(display.url()));
    ASSERT_TRUE(Connected(browser)) << PageText(browser);
    EXPECT_TRUE(PageShowsThePanel(browser, display, RECT{0, 0, 640, 480}))
        << "the page shows another picture: " << lastAgreement_ << " of it agrees";
    EXPECT_NE(PageText(browser).find("You have control"), std::string::npos) << PageText(browser);

    // A mouse click on VIEW opens the view menu.
    const auto view = display.ControlCentre(kViewButton);
    ASSERT_TRUE(view);
    const auto viewPoint = PagePoint(browser, view->first, view->second);
    ASSERT_TRUE(viewPoint);
    ASSERT_TRUE(browser.Click(viewPoint->first, viewPoint->second));
    ASSERT_TRUE(WaitFor([&] { return display.Shows(kViewMenu); }, kShowMs));
    EXPECT_TRUE(PageShowsThePanel(browser, display, RECT{100, 50, 550, 325}, 0.99))
        << "the page does not show the view menu: " << lastAgreement_ << " of it agrees";

    if (const char* keep = std::getenv("PANEL_BROWSER_SCREENSHOT")) {
        std::ofstream(keep, std::ios::binary) << browser.Screenshot();
    }

    // A finger on EXIT closes it again.
    const auto exit = display.ControlCentre(kExitViewButton);
    ASSERT_TRUE(exit);
    const auto exitPoint = PagePoint(browser, exit->first, exit->second);
    ASSERT_TRUE(exitPoint);
    ASSERT_TRUE(browser.Touch("touchStart", exitPoint->first, exitPoint->second));
    ASSERT_TRUE(browser.Touch("touchEnd", exitPoint->first, exitPoint->second));
    EXPECT_TRUE(WaitFor([&] { return !display.Shows(kViewMenu); }, kShowMs));
    EXPECT_TRUE(PageShowsThePanel(browser, display, RECT{100, 50, 550, 325}));
    EXPECT_TRUE(display.Polls());
}

TEST_F(BrowserView, AViewerWithoutTheTokenIsRefusedAndToldWhy)
{
    // Beyond loopback: the display makes up a token and prints the address with it.
    Display display(root_, {"--http", "0.0.0.0:0"});
    ASSERT_FALSE(display.url().empty()) << display.Stderr();
    const std::string url = display.url();
    const auto mark = url.find("?token=");
    ASSERT_NE(mark, std::string::npos) << url;
    const std::string port = url.substr(0, mark).substr(url.rfind(':') + 1);
    const std::string bare = "http://127.0.0.1:" + port;

    HeadlessChromium browser(root_);
    ASSERT_TRUE(browser.ok()) << browser.why();
    for (const std::string& refused : {bare, bare + "?token=0123456789abcdef0123456789abcdef"}) {
        ASSERT_TRUE(browser.Navigate(refused));
        EXPECT_TRUE(WaitFor(
            [&] {
                return PageText(browser).find("This dryer panel needs its access token") !=
                       std::string::npos;
            },
            kShowMs))
            << refused << ": " << PageText(browser);
    }
    // The display runs on.
    EXPECT_TRUE(display.Polls());

    ASSERT_TRUE(browser.Navigate(bare + url.substr(mark)));
    EXPECT_TRUE(Connected(browser)) << PageText(browser);
}

}  // namespace
