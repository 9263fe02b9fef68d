#include "sim/panel_io.h"

#include <cctype>
#include <optional>

#include "dryer/link/panel_connectors.h"

namespace sim {

namespace {

// A label as a control command writes it: upper case, blanks as underscores ("FAN_1_AUTO").
std::string CommandName(const wchar_t* label)
{
    std::string name;
    for (const wchar_t* c = label; *c != 0; ++c) {
        const char ch = *c == L' ' ? '_' : static_cast<char>(*c);
        name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    }
    return name;
}

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The switch named in a command, if any.
const ImageBits* FindSwitch(const std::string& name, ImageBits& out)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const SwitchInput input = SwitchInputOf(byte, bit);
            if (input.name != nullptr && CommandName(input.name) == name) {
                out = input.bits;
                return &out;
            }
        }
    }
    return nullptr;
}

// The output row whose label is "J1-03 / ..." for "J1-03", or ends in " / FAN 2" for "FAN 2".
bool FindLight(const std::string& name, Connector& connector, int& row)
{
    for (const Connector c : {Connector::j1, Connector::j2}) {
        for (int r = 1; r <= kConnectorRows; ++r) {
            const std::string label = CommandName(LightOutputLabel(c, r));  // J1-03_/_FAN_6
            const std::string pin = label.substr(0, label.find('_'));
            const std::string output = label.substr(label.rfind("/_") + 2);
            if (name == pin || name == output) {
                connector = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void Activate(StatusImage& image, const std::string& output)
{
    Connector c{};
    int row = 0;
    if (FindLight(output, c, row)) SetBits(image, LightOutputOf(c, row).activated, true);
}

std::optional<bool> OnOff(const std::string& word)
{
    const std::string w = Upper(word);
    if (w == "ON") return true;
    if (w == "OFF") return false;
    return std::nullopt;
}

std::string SwitchCommand(StatusImage& image, const std::vector<std::string>& words)
{
    ImageBits bits;
    const auto on = words.size() == 3 ? OnOff(words[2]) : std::nullopt;
    if (!on || FindSwitch(Upper(words[1]), bits) == nullptr) {
        return "error: switch needs a NAME (e.g. FAN_1_AUTO, MR_PUSH_BUTON) and on|off";
    }
    SetBits(image, bits, *on);
    return "ok switch " + Upper(words[1]) + (*on ? " on" : " off");
}

std::string LightCommand(StatusImage& image, const std::vector<std::string>& words)
{
    if (words.size() == 2 && Upper(words[1]) == "CLEAR") {
        for (const ImageField f :
             {j1OutputsShorted, j2OutputsShorted, j1OutputsActivated, j2OutputsActivated}) {
            SetValue(image, f, 0);
        }
        return "ok lights cleared";
    }
    Connector c{};
    int row = 0;
    const auto on = words.size() == 4 ? OnOff(words[3]) : std::nullopt;
    const std::string box = words.size() == 4 ? Upper(words[2]) : "";
    if (!on || (box != "ACTIVATED" && box != "SHORTED") || !FindLight(Upper(words[1]), c, row)) {
        return "error: light needs an OUTPUT (J1-03 or FAN_6), activated|shorted and on|off, "
               "or clear";
    }
    const LightOutputBits bits = LightOutputOf(c, row);
    SetBits(image, box == "SHORTED" ? bits.shorted : bits.activated, *on);
    return "ok light " + Upper(words[1]) + " " + Upper(words[2]) + (*on ? " on" : " off");
}

}  // namespace

void SetAutomaticSwitches(StatusImage& image, int heaters)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const SwitchInput input = SwitchInputOf(byte, bit);
            if (input.name == nullptr) continue;
            for (int k = 1; k <= heaters; ++k) {
                const std::wstring n = std::to_wstring(k);
                if (input.name == L"FAN " + n + L" AUTO" ||
                    input.name == L"BURNER " + n + L" AUTO") {
                    SetBits(image, input.bits, true);
                }
            }
        }
    }
}

void MarkActivatedLights(StatusImage& image)
{
    for (int k = 1; k <= kMaxHeaters; ++k) {
        if (IsSet(image, ForHeater(fanRunningBit, k))) Activate(image, "FAN_" + std::to_string(k));
        if (IsSet(image, ForHeater(burnerOnBit, k))) {
            Activate(image, "BURNER_" + std::to_string(k));
        }
    }
    if (!AllSet(image, notLoadingBits)) Activate(image, "LOAD");
    if (IsUnloading(image)) Activate(image, "UNLOAD");
    if (IsSet(image, dryerStartedBit)) Activate(image, "START");
}

bool IsPanelIoCommand(const std::string& command)
{
    return command == "switch" || command == "light";
}

std::string PanelIoControl(StatusImage& image, const std::vector<std::string>& words)
{
    if (words.size() < 2)
        return "error: " + (words.empty() ? std::string() : words[0]) +
               " needs arguments (try help)";
    return words[0] == "switch" ? SwitchCommand(image, words) : LightCommand(image, words);
}

std::string PanelIoControlHelp()
{
    return "  switch NAME on|off turn a panel switch (STOP, LOAD_AUTO, FAN_1_AUTO, MR_LEFT ...)\n"
           "  light OUT activated|shorted on|off\n"
           "                     mark a light output (J1-03 or FAN_6, LOAD, START ...)\n"
           "  light clear        forget every activated and shorted light\n";
}

}  // namespace sim
