// The Display I/O board's panel connectors by name: the light outputs of J1 and J2 with the bits
// that report each (SHORTED in 177-178, ACTIVATED in 239-240), and the panel's switches with the
// bit that reports each (179-183). The diagnostics screens show them; the simulated board
// reports them.
#pragma once

#include "dryer/link/dryer_image.h"

enum class Connector { j1, j2 };
inline constexpr int kConnectorRows = 8;

// The bits of one output row (1-8; another row is taken as 1).
struct LightOutputBits {
    ImageBits shorted;
    ImageBits activated;
};
LightOutputBits LightOutputOf(Connector c, int row);
// Its label, "J1-01 / SPARE" ... "J2-08 / START".
const wchar_t* LightOutputLabel(Connector c, int row);

// The switch of bit b (0-7) of switch byte k (0-4: offsets 179-183) and the bit behind it; the
// name is null for a bit that is no switch.
inline constexpr int kSwitchBytes = 5;
struct SwitchInput {
    const wchar_t* name;
    ImageBits bits;
};
SwitchInput SwitchInputOf(int byte, int bit);

// The dryer type switch group: position p (1-8) is dryerConfigBits bit 8 - p.
ImageBits DryerTypeSwitch(int position);
