// The home screen's live panels (dryer picture, plenum panel, dryer state line) and the
// warning window with its help dialog and the shutdown / connection-lost panels.
//
// The window procedures are registered by the screen manager. Everything they draw comes
// from one snapshot of the dryer image and the timer state (HomePanelInputs), read through a
// replaceable source so that tests can paint any dryer state without a link.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "platform/drawing/painter.h"
#include "platform/drawing/resources.h"
#include "platform/win_types.h"
#include "platform/windowing/window.h"

LRESULT DryerPicProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT PlenumPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DryerStateLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT WarningWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The 100 ms tick's warning banner step: shows or hides the warning window, steps the help
// dialog's door animation and closes the help dialog once the warning clears.
void WarningRaiseLowerTick();

// Opens the help dialog "Shutdown Help File - 34" for a warning, modal, owned by `owner`.
// The warning window's help button opens it with the current code; the shutdown history
// opens it with the code of a row and `fromHistory` set, so that the clearing of the active
// warning does not close it.
INT_PTR OpenWarningHelpDialog(HWND owner, int node, int index, bool fromHistory);

namespace home_panels {

using PanelImage = std::array<std::uint8_t, kImageSize>;

// Everything the panels paint from, read once per paint.
struct HomePanelInputs {
    PanelImage image{};
    unsigned blinkFlags = 0;        // bit 0 slow blink, bit 1 reconnect step request
    std::array<int, 6> fanPhase{};  // animation frame 0-2 of fan/heater 1..6 (index 0 = 1)
    int loadPhase = 0;              // 0-2
    int unloadPhase = 0;            // 0-2
    int meterRollLeftPhase = 0;     // 0-2
    int meterRollRightPhase = 0;    // 0-2
    int linkWatchdog = 10;          // seconds left; 0 means the link is lost
};

// Where the panels read their inputs and send their two requests. The default source reads
// the link's dryer image and the program's timer state.
struct HomePanelSource {
    void (*read)(HomePanelInputs& out) = nullptr;
    // Clears the reconnect step request (bit 1 of the blink flags); true when it was set.
    bool (*takeReconnectStep)() = nullptr;
    // Asks the link to send a link reset request.
    void (*requestLinkReset)() = nullptr;
};
void SetHomePanelSource(const HomePanelSource& source);
// Back to the source that reads the link and the program's timers.
void ResetHomePanelSource();
HomePanelInputs ReadHomePanelInputs();
// The source's two requests, as the panels make them.
bool TakeReconnectStep();
void RequestPanelLinkReset();

// Readers of the snapshot that the panels share (fields by name: dryer/link/dryer_image.h).
bool Celsius(const PanelImage& image);                    // siUnitsBit
int PlenumTemp(const PanelImage& image, int plenum);      // plenum 1..6
int PlenumSetpoint(const PanelImage& image, int plenum);  // plenum 1..6
int MoistureScheme(const PanelImage& image);              // moistureSchemeBits
// Grain temperature of the sensor grainSensorSelect chooses (GrainTempEntry).
int SelectedGrainTemp(const PanelImage& image);

// A line of text as a panel draws it.
struct PanelText {
    std::wstring text;
    COLORREF colour = 0;
};

// ---- dryer picture ----
enum class DryerPicture { OneModule, TwoModule, ThreeModule, Tower };
DryerPicture ChooseDryerPicture(const PanelImage& image);
int DryerBodyBitmap(DryerPicture picture);
// The status lines of a picture in their order; a line that does not apply is left out
// except where the picture keeps its place empty.
std::vector<PanelText> DryerStatusLines(const PanelImage& image, DryerPicture picture);
// True when the large readout shows the grain temperature (else the discharge moisture).
bool TemperatureReadout(const PanelImage& image);
// The fan picture of fan/heater k (1..6) for a frame; `single` selects the single-fan set.
int FanBitmap(const PanelImage& image, int heater, int frame, bool single);
// Number of fan/heaters by the count code (0 for an unknown code).
int HeaterCount(const PanelImage& image);

// ---- plenum panel ----
enum class PlenumLayout { None, One, Two, Three, Four, Six };
PlenumLayout ChoosePlenumLayout(const PanelImage& image);
// The burner line of plenum k (1..6) in a layout; two lines for the one-plenum layout's
// purging and igniting ("Burner is" over the state) are returned joined by '\n'.
PanelText BurnerLine(const PanelImage& image, int plenum, PlenumLayout layout);

// ---- dryer state line ----
struct StateLine {
    std::wstring text;  // empty: nothing drawn
    COLORREF colour = 0;
    int fontHeight = 34;
    int rule = 9;  // the rule (1-9) that decided the line
};
StateLine ChooseStateLine(const PanelImage& image, unsigned blinkFlags);

// ---- warning window ----
// The text of a catalogue entry; empty when the entry is empty or out of range.
std::wstring WarningCatalogueText(int node, int index);
struct HelpFileNames {
    std::wstring picture;
    std::wstring text;
};
// Help files of a selection: Fan/Heater nodes 2-7 share node 02; numbers are decimal. The
// door pictures take the picture's place while the active code is 0x0E05.
HelpFileNames HelpFilesFor(int node, int index, int activeCode, int doorPhase);
// A help text file's bytes (at most 16384 are used) as list lines: CR ends nothing, LF adds
// the current line, a tab becomes four blanks; a last line without LF is not shown.
std::vector<std::wstring> SplitHelpText(std::span<const std::uint8_t> bytes);
inline constexpr std::size_t kHelpTextLimit = 16384;

// The reconnect bar of the connection-lost panel: position 0-13, moving right or left.
struct ReconnectBar {
    int position = 0;
    bool movingRight = true;
    void Step();
};
ReconnectBar& ReconnectBarState();

// The two contents of the warning window, drawn into its paint buffer.
void PaintShutdownPanel(platform::Painter& paint, const HomePanelInputs& in);
// Steps the bar when the step request is set.
void PaintConnectionLostPanel(platform::Painter& paint);

// Help dialog state shared with the 100 ms tick and the shutdown history.
struct WarningHelpState {
    HWND dialog = nullptr;  // the open help dialog, or null
    int node = 0;           // help selection
    int index = 0;
    bool fromHistory = false;  // opened from the shutdown history: not closed on clearing
    int doorPhase = 0;         // 0-6
    bool pictureMissing = false;
    bool textLoaded = false;
    std::vector<std::wstring> textLines;  // the lines put in the list by the last dialog
};
WarningHelpState& WarningHelp();

// The Main I/O's rear discharge door warning: its help shows the door pictures in turn.
inline constexpr WarningCode kDoorOpenedCode = 0x0E05;

// Control ids of the warning window and its help dialog.
inline constexpr int kWarningHelpButton = 0x8844;
inline constexpr int kHelpCloseButton = 1224;
inline constexpr int kHelpList = 1225;

// Resets the panels' own state (one-shot batch message, bar, help state); for tests.
void ResetHomePanelState();
void ResetDryerPictureState();

}  // namespace home_panels

namespace home_panels {

// printf-style formatting into a wide string (the panel's texts use %d, %c, %02d ...).
std::wstring Format(const wchar_t* format, ...);

inline constexpr wchar_t kDegree = 176;

}  // namespace home_panels
