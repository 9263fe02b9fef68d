#include "dryer/link/panel_connectors.h"

namespace {

constexpr const wchar_t* kJ1Labels[kConnectorRows] = {
    L"J1-01 / SPARE", L"J1-02 / BURNER 6", L"J1-03 / FAN 6", L"J1-04 / BURNER 5",
    L"J1-05 / FAN 5", L"J1-06 / BURNER 4", L"J1-07 / FAN 4", L"J1-08 / BURNER 3"};
constexpr const wchar_t* kJ2Labels[kConnectorRows] = {
    L"J2-01 / FAN 3", L"J2-02 / BURNER 2", L"J2-03 / FAN 2",  L"J2-04 / BURNER 1",
    L"J2-05 / FAN 1", L"J2-06 / LOAD",     L"J2-07 / UNLOAD", L"J2-08 / START"};

constexpr const wchar_t* kSwitchNames[kSwitchBytes][8] = {
    {L"STOP", L"UNLOAD 1 SPEED", L"UNLOAD 2 SPEED", L"LOAD ON", L"LOAD AUTO", L"FAN 1 AUTO",
     L"FAN 1 ON", L"SPARE #1"},
    {L"BURNER 1 AUTO", L"BURNER 1 ON", L"FAN 2 AUTO", L"FAN 2 ON", L"BURNER 2 AUTO", L"BURNER 2 ON",
     L"FAN 3 AUTO", L"FAN 3 ON"},
    {L"SPARE #2", L"BURNER 3 AUTO", L"BURNER 3 ON", L"FAN 4 AUTO", L"FAN 4 ON", L"BURNER 4 AUTO",
     L"BURNER 4 ON", L"FAN 5 AUTO"},
    {L"BURNER 6 ON", L"FAN 5 ON", L"SPARE #3", L"BURNER 5 AUTO", L"BURNER 5 ON", L"FAN 6 AUTO",
     L"FAN 6 ON", L"BURNER 6 AUTO"},
    {L"START", L"MANUAL", L"AUX", L"DEFAULTS", L"MR PUSH BUTON", L"MR LEFT", L"MR RIGHT", nullptr},
};

int RowOf(int row)
{
    return row < 1 || row > kConnectorRows ? 1 : row;
}

}  // namespace

LightOutputBits LightOutputOf(Connector c, int row)
{
    const int n = RowOf(row);
    if (c == Connector::j1) {  // J1-0n: bit n - 1
        const auto mask = static_cast<std::uint8_t>(1u << (n - 1));
        return {Bits(j1OutputsShorted, mask), Bits(j1OutputsActivated, mask)};
    }
    const auto mask = static_cast<std::uint8_t>(1u << (8 - n));  // J2-0n: bit 8 - n
    return {Bits(j2OutputsShorted, mask), Bits(j2OutputsActivated, mask)};
}

const wchar_t* LightOutputLabel(Connector c, int row)
{
    return c == Connector::j1 ? kJ1Labels[RowOf(row) - 1] : kJ2Labels[RowOf(row) - 1];
}

SwitchInput SwitchInputOf(int byte, int bit)
{
    if (byte < 0 || byte >= kSwitchBytes || bit < 0 || bit > 7) return {nullptr, {}};
    return {kSwitchNames[byte][bit],
            Bits(panelSwitchInputs, static_cast<std::uint8_t>(1u << bit), byte)};
}

ImageBits DryerTypeSwitch(int position)
{
    return Bits(dryerConfigBits, static_cast<std::uint8_t>(0x80u >> (RowOf(position) - 1)));
}
