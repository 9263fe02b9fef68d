// Driving the temperature setpoint screen and its keypad through the automation interface.
#include "tests/dryer/setup/temperature_support.h"

#include <algorithm>
#include <cstdio>

#include "dryer/screens/screen_manager.h"

namespace temperature_test {

namespace {

int ControlFor(int key)
{
    switch (key) {
        case kDel: return kKeypadDelete;
        case kClr: return kKeypadClear;
        case kDef: return kKeypadDefault;
    }
    return kKeypadDigit0 + key;
}

// " <number> °F " with the number in this format (the C library formats no degree sign
// outside a UTF-8 locale, so it is added here).
std::wstring WithDegrees(const wchar_t* numberFormat, int value, bool celsius)
{
    wchar_t number[16];
    std::swprintf(number, 16, numberFormat, value);
    return std::wstring(L" ") + number + L" " + kDegree + (celsius ? L'C' : L'F') + L" ";
}

}  // namespace

sim::SimOptions Dryer(int heaters, bool celsius)
{
    sim::SimOptions options;
    options.heaters = heaters;
    options.celsius = celsius ? 1 : 0;
    return options;
}

void OpenSetpointScreen()
{
    ASSERT_TRUE(platform::PressControl(kCmdTemps));
    ASSERT_TRUE(panel_test::Shown(kTempSelectClass));
}

bool KeypadOpen()
{
    return panel_test::FindTitled(kTemperatureKeypadTitle).has_value();
}

bool OpenKeypad(int button)
{
    return platform::PressControl(button) && KeypadOpen();
}

void Type(const std::vector<int>& keys)
{
    for (int key : keys) ASSERT_TRUE(platform::PressControl(ControlFor(key))) << "key " << key;
}

void Accept()
{
    ASSERT_TRUE(platform::PressControl(kKeypadAccept));
}

void Cancel()
{
    ASSERT_TRUE(platform::PressControl(kKeypadCancel));
}

std::wstring KeypadText()
{
    const auto dialog = panel_test::FindTitled(kTemperatureKeypadTitle);
    if (!dialog) return L"";
    for (const auto& t : dialog->texts) {
        if (t.text.find(kDegree) != std::wstring::npos) return t.text;
    }
    return L"";
}

std::vector<platform::DrawnText> TextsOf(const std::wstring& className)
{
    const auto w = panel_test::FindShown(className);
    return w ? w->texts : std::vector<platform::DrawnText>{};
}

platform::DrawnText Drawn(const std::vector<platform::DrawnText>& texts, const std::wstring& text,
                          const char* file, int line)
{
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [&](const platform::DrawnText& t) { return t.text == text; });
    if (found != texts.end()) return *found;
    ::testing::Message drawn;
    for (const auto& t : texts) drawn << "\n  \"" << panel_test::Narrow(t.text) << "\"";
    GTEST_FAIL_AT(file, line) << "\"" << panel_test::Narrow(text)
                              << "\" was not drawn; the paint drew:" << drawn;
    return platform::DrawnText{L"", RECT{0, 0, 0, 0}, 0xFFFFFFFF};
}

bool Has(const std::vector<platform::DrawnText>& texts, const std::wstring& text)
{
    return std::any_of(texts.begin(), texts.end(),
                       [&](const platform::DrawnText& t) { return t.text == text; });
}

bool ControlShown(int id)
{
    const auto c = panel_test::FindControl(id);
    return c.has_value() && c->visible;
}

std::optional<RECT> ControlRect(int id)
{
    const auto c = panel_test::FindControl(id);
    if (!c) return std::nullopt;
    return c->rect;
}

std::wstring Printed(int value, bool celsius)
{
    return WithDegrees(L"%3d", value, celsius);
}

std::wstring OnKeypad(int value, bool celsius)
{
    return WithDegrees(L"%03d", value, celsius);
}

}  // namespace temperature_test
