// The dryer image: the 300-byte status payload of the Display I/O board, kept byte for byte at
// the answer-frame offsets, and the operator's desired values at the same offsets. A field's
// offset is also its parameter address in command frames. This header names every field once,
// gives the byte-order readers, the per-heater index rule, the Celsius display rule and the
// board numbering; the board simulator uses the same names.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "dryer/link/pending_command.h"

inline constexpr std::size_t kImageSize = 300;

// One field of the image: where it starts and how many bytes it spans.
struct ImageField {
    std::uint16_t offset;
    std::uint8_t width;
    constexpr std::uint16_t end() const { return static_cast<std::uint16_t>(offset + width); }
};

// Unless marked, fields are unsigned bytes. LE: low byte at the lower offset; BE: high byte
// first. Times are minute/second pairs, minutes first. Per-heater arrays hold Fan/Heater 6
// first. Offsets 0-2, 33-38, 48, 53-57, 107-112, 119-124, 170, 204-205, 210-215, 231, 256,
// 276, 285-286 and 294-299 are not taken from answers and stay 0.
//
// OFFSET  SIZE  FIELD                        CONTENT
//     3     1   heaterCountCode              0 one, 1 two, 2 three, 3 four, 4 six fan/heaters
inline constexpr ImageField heaterCountCode{3, 1};
//     4     1   moduleCountCode              0 one, 1 two, 2 three modules
inline constexpr ImageField moduleCountCode{4, 1};
//     5     1   fuelCode                     0 LP, 1 natural gas, 2 vapor, 3 diesel
inline constexpr ImageField fuelCode{5, 1};
//     6     1   loadSystemCode               0 end fill, 1 center fill, 2 dual fill
inline constexpr ImageField loadSystemCode{6, 1};
//     7     1   dryerLengthCode              0-10: 8 + 2 x code feet; 11-14: 34, 36, 38, 40 ft
inline constexpr ImageField dryerLengthCode{7, 1};
//     8     1   dryingType                   0 continuous flow, 1 batch, other "TYPE:NONE"
inline constexpr ImageField dryingType{8, 1};
//     9     2   dryTimerRemaining            (hi-heat) dry timer remaining, min, s
inline constexpr ImageField dryTimerRemaining{9, 2};
//    11     2   dryTimerSetting              dry timer reload value, min, s
inline constexpr ImageField dryTimerSetting{11, 2};
//    13     1   batchStatusBits13            bit 0: a batch timers window layout condition
inline constexpr ImageField batchStatusBits13{13, 1};
//    14     2   coolTimerRemaining           min, s
inline constexpr ImageField coolTimerRemaining{14, 2};
//    16     2   coolTimerSetting             min, s
inline constexpr ImageField coolTimerSetting{16, 2};
//    18     1   batchStatusByte18            repaints the batch timers window
inline constexpr ImageField batchStatusByte18{18, 1};
//    19     2   unloadTimerRemaining         min, s
inline constexpr ImageField unloadTimerRemaining{19, 2};
//    21     2   unloadTimerSetting           min, s
inline constexpr ImageField unloadTimerSetting{21, 2};
//    23     1   batchStatusByte23            repaints the batch timers window
inline constexpr ImageField batchStatusByte23{23, 1};
//    24     2   loadTimerRemaining           load (maximum fill) timer remaining, min, s
inline constexpr ImageField loadTimerRemaining{24, 2};
//    26     2   loadTimerSetting             maximum fill time, min, s (default 8 min, 0-30)
inline constexpr ImageField loadTimerSetting{26, 2};
//    28     1   loadCountdownBits            bit 0: load countdown running, shown in status bar
inline constexpr ImageField loadCountdownBits{28, 1};
//    29     2   timePair29                   min, s; kept, not shown
inline constexpr ImageField timePair29{29, 2};
//    31     2   loadDelaySetting             delay from grain call to load motor start, min, s
inline constexpr ImageField loadDelaySetting{31, 2};
//    39     2   unloadRunOnRemaining         run-on countdown, shown while 43 bit 0 is set
inline constexpr ImageField unloadRunOnRemaining{39, 2};
//    41     2   unloadRunOnSetting           unload auger run-on, min, s (default 1 min, 0-10)
inline constexpr ImageField unloadRunOnSetting{41, 2};
//    43     1   runOnStatusBits              bit 0: show the unload run-on countdown
inline constexpr ImageField runOnStatusBits{43, 1};
//    44     2   timePair44                   min, s; kept, not shown
inline constexpr ImageField timePair44{44, 2};
//    46     2   fanStartDelaySetting         delay between starting fans, min, s
inline constexpr ImageField fanStartDelaySetting{46, 2};
//    49     1   optionByte49                 bits 4, 5: option switches of set-up screens
inline constexpr ImageField optionByte49{49, 1};
//    50     1   plenumManagerByte50          edited by the plenum temperature manager
inline constexpr ImageField plenumManagerByte50{50, 1};
//    51     1   statusByte51                 kept, not shown
inline constexpr ImageField statusByte51{51, 1};
//    52     1   mcAutoModeMinutes            "M/C AUTO MODE: %d Minutes"
inline constexpr ImageField mcAutoModeMinutes{52, 1};
//    53     5   clockSetting                 command only: minute, hour, day, month, year % 100
inline constexpr ImageField clockSetting{53, 5};
//    58     1   loadStatusBits               bit 7: load in progress; bits 2, 3: meter roll
inline constexpr ImageField loadStatusBits{58, 1};
//    59  6x2   plenumSetpoint               signed LE deg F, Fan/Heater 6 first
inline constexpr ImageField plenumSetpoint{59, 12};
//    71  6x2   plenumTemp                   signed LE deg F, FH 6 first; < -35 open, >= 261 short
inline constexpr ImageField plenumTemp{71, 12};
//    83  3x2   words83                      LE words, kept, not shown
inline constexpr ImageField words83{83, 6};
//    89  3x2   grainTemp                    signed LE deg F; grainSensorSelect picks one
inline constexpr ImageField grainTemp{89, 6};
//    95     6   plenumDifferential           per-plenum differential settings, FH 6 first
inline constexpr ImageField plenumDifferential{95, 6};
//   101     6   heaterControlBits            per-heater bits, FH 6 first; bit 2 airswitch test
inline constexpr ImageField heaterControlBits{101, 6};
//   113     6   heaterStatusBits             118 bit 5: airswitch testing disabled
inline constexpr ImageField heaterStatusBits{113, 6};
//   125     6   heaterState                  FH 6 first: bit 0 fan, bit 1 burner, bit 2 high fire
inline constexpr ImageField heaterState{125, 6};
//   131     6   heaterPictureBits            bits 0, 1, 4, 5 choose burner and fan pictures
inline constexpr ImageField heaterPictureBits{131, 6};
//   137     6   heaterBytes137               kept, not shown
inline constexpr ImageField heaterBytes137{137, 6};
//   143     6   ignitionState                FH 6 first: bit 0 purging, bit 1 igniting
inline constexpr ImageField ignitionState{143, 6};
//   149  3x2   grainSetpoint                signed LE deg F; 149, 151, 153
inline constexpr ImageField grainSetpoint{149, 6};
//   155     1   meteringMode                 active preset: 0 low, 1 medium, 2 high
inline constexpr ImageField meteringMode{155, 1};
//   156     3   meteringPreset               high, medium, low presets, shown x 10
inline constexpr ImageField meteringPreset{156, 3};
//   159     4   meteringControl              159: bit 7 status, bits 0-5 mode; 160-162 values
inline constexpr ImageField meteringControl{159, 4};
//   163     1   bphCalibration               bushels-per-hour factor, percent 50-150
inline constexpr ImageField bphCalibration{163, 1};
//   164     4   bushelCounter                32-bit LE bushels x 3600
inline constexpr ImageField bushelCounter{164, 4};
//   168     2   burnerIndicatorBits          168 bit 3, 169 bit 2: burner panel indicators
inline constexpr ImageField burnerIndicatorBits{168, 2};
//   171     1   dryerState                   bits 7,5 active low: loading while either is clear;
//                                            bit 6 unloading; bit 3 learning-period condition
inline constexpr ImageField dryerState{171, 1};
//   172     1   dryerState2                  bit 0: unloading
inline constexpr ImageField dryerState2{172, 1};
//   173     2   bushelsPerHour               BE
inline constexpr ImageField bushelsPerHour{173, 2};
//   175     2   word175                      kept, not shown
inline constexpr ImageField word175{175, 2};
//   177     7   ioBits                       177-178 outputs shorted; 179-183 panel switches
inline constexpr ImageField ioBits{177, 7};
//   184     1   grainSensorSelect            0: 93-94, 1: 91-92, 2: 89-90
inline constexpr ImageField grainSensorSelect{184, 1};
//   185     1   warningIndex                 low byte of the active WarningCode
inline constexpr ImageField warningIndex{185, 1};
//   186     1   warningNode                  high byte (NodeId) of the active WarningCode
inline constexpr ImageField warningNode{186, 1};
//   187     1   moistureControlMode          bits 0-2 scheme; bits 5-7 option flags
inline constexpr ImageField moistureControlMode{187, 1};
//   188     1   runState                     bit 6 started; bits 1, 4 cooling; bit 5 defaults
inline constexpr ImageField runState{188, 1};
//   189     2   dryMoisture                  tenths %, BE
inline constexpr ImageField dryMoisture{189, 2};
//   191     2   wetMoisture                  tenths %, BE
inline constexpr ImageField wetMoisture{191, 2};
//   193     2   drySensorTemp                tenths deg F, BE
inline constexpr ImageField drySensorTemp{193, 2};
//   195     2   wetSensorTemp                tenths deg F, BE
inline constexpr ImageField wetSensorTemp{195, 2};
//   197     2   unloadTenthsValue            BE tenths, unload status window and logs
inline constexpr ImageField unloadTenthsValue{197, 2};
//   199     2   moistureSetpoint             tenths %, BE
inline constexpr ImageField moistureSetpoint{199, 2};
//   201     1   moistureModeSetting          3, 5, 6, 7 told apart by the moisture screens
inline constexpr ImageField moistureModeSetting{201, 1};
//   202     1   printerByte202
inline constexpr ImageField printerByte202{202, 1};
//   203     1   printerByte203
inline constexpr ImageField printerByte203{203, 1};
//   206  2x2   unloadRateLimit              BE words 206, 208
inline constexpr ImageField unloadRateLimit{206, 4};
//   216     4   settingBytes216              bit groups; 217/218/219 acknowledged under masks
inline constexpr ImageField settingBytes216{216, 4};
//   220     1   moisturePanelBits            bits 0-2: moisture panel state
inline constexpr ImageField moisturePanelBits{220, 1};
//   221     2   batchCount                   BE, "BAT %d"
inline constexpr ImageField batchCount{221, 2};
//   223     1   mediumTenths                 tenths digit of "MED %d.%d"
inline constexpr ImageField mediumTenths{223, 1};
//   224     1   optionByte224                bit 3 temperature hold; bit 7 center adjust
inline constexpr ImageField optionByte224{224, 1};
//   225     1   dryerConfigBits              bit 5 and high nibble choose set-up variants
inline constexpr ImageField dryerConfigBits{225, 1};
//   226     4   moistureSetupBytes           moisture control set-up values
inline constexpr ImageField moistureSetupBytes{226, 4};
//   230     1   settingByte230               shown x 10
inline constexpr ImageField settingByte230{230, 1};
//   232  2x2   moistureOffset               signed BE tenths %: 232 dry, 234 wet sensor
inline constexpr ImageField moistureOffset{232, 4};
//   236     2   meterRollRaw                 0-255 readings
inline constexpr ImageField meterRollRaw{236, 2};
//   238     1   optionByte238                bit 3: bushel counter reset request
inline constexpr ImageField optionByte238{238, 1};
//   239     2   ioBits2                      outputs activated
inline constexpr ImageField ioBits2{239, 2};
//   241  2x2   sensorTempOffset             signed BE tenths deg: 241 dry, 243 wet sensor
inline constexpr ImageField sensorTempOffset{241, 4};
//   245     1   mediumWhole                  whole part of "MED %d.%d"
inline constexpr ImageField mediumWhole{245, 1};
//   246     1   settingByte246               bits 0-1 and 2-3: two small fields
inline constexpr ImageField settingByte246{246, 1};
//   247  2x2   moistureValues247            BE tenths %, "%d.%d%%"
inline constexpr ImageField moistureValues247{247, 4};
//   251     1   pictureStatusBits            repaints the dryer picture
inline constexpr ImageField pictureStatusBits{251, 1};
//   252     2   loHeatTimerRemaining         lo-heat dry timer remaining, min, s
inline constexpr ImageField loHeatTimerRemaining{252, 2};
//   254     2   loHeatTimerSetting           lo-heat dry timer reload value, min, s
inline constexpr ImageField loHeatTimerSetting{254, 2};
//   257     1   dryerOptions                 bit 1 dual heat; bit 3 first-half load;
//                                            bits 4-6 batch criteria TIME, TEMP, MOISTURE
inline constexpr ImageField dryerOptions{257, 1};
//   258  2x2   setpointWords258             LE words 258, 260
inline constexpr ImageField setpointWords258{258, 4};
//   262     4   statusBytes262               kept, not shown (263, 265 repaint panels)
inline constexpr ImageField statusBytes262{262, 4};
//   266     1   unitsAndOptions              bit 7 SI; bit 6 graph view; 3-5 batch safety;
//                                            0-1 request bits
inline constexpr ImageField unitsAndOptions{266, 1};
//   267     2   coolDownRemaining            "COOL DOWN: %d:%02d"
inline constexpr ImageField coolDownRemaining{267, 2};
//   269     2   fanRunAfterShutdownSetting   min, s
inline constexpr ImageField fanRunAfterShutdownSetting{269, 2};
//   271     1   coolingStatusBits            bits 0-1 value 1: "DRYER COOLING DOWN"
inline constexpr ImageField coolingStatusBits{271, 1};
//   272     4   batchSettings                batch criteria values; 274-275 a time pair
inline constexpr ImageField batchSettings{272, 4};
//   277     2   batchWord277                 LE batch criterion
inline constexpr ImageField batchWord277{277, 2};
//   279     1   optionBits279                kept, not shown
inline constexpr ImageField optionBits279{279, 1};
//   280     1   statusByte280                kept, not shown
inline constexpr ImageField statusByte280{280, 1};
//   281  2x2   words281                     LE words, kept, not shown
inline constexpr ImageField words281{281, 4};
//   287     2   statusBytes287               kept, not shown
inline constexpr ImageField statusBytes287{287, 2};
//   289     1   optionByte289                bit 0: long-term data log enabled
inline constexpr ImageField optionByte289{289, 1};
//   290     2   centerAdjustElapsed          LE seconds; status bar shows 3600 minus it
inline constexpr ImageField centerAdjustElapsed{290, 2};
//   292     1   samplerBits                  bit 0 "CLEANING", bit 1 "SAMPLING"
inline constexpr ImageField samplerBits{292, 1};
//   293     1   samplerOption                bit 7: cycled moisture sampler installed
inline constexpr ImageField samplerOption{293, 1};

// Bits that several parts of the panel test.
inline constexpr std::uint8_t kUnitsSiBit = 0x80;         // unitsAndOptions: Celsius display
inline constexpr std::uint8_t kUnitsGraphViewBit = 0x40;  // unitsAndOptions: graph view
inline constexpr std::uint8_t kUnitsRequestBits = 0x03;   // unitsAndOptions: one-shot requests
inline constexpr std::uint8_t kLoadInProgressBit = 0x80;  // loadStatusBits
inline constexpr std::uint8_t kBushelResetBit = 0x08;     // optionByte238
inline constexpr std::uint8_t kDryerStateIdle = 0xA0;     // dryerState: not loading

// ---- per-heater arrays ----------------------------------------------------------------------
// Entry N (Fan/Heater 1-6) of a byte array at b is at b + 6 - N; of a word array at
// b + 2 x (6 - N). A one-heater dryer uses the last entry only. N outside 1-6 is taken as 1.
inline constexpr int kMaxHeaters = 6;

constexpr std::size_t HeaterByteOffset(ImageField array, int heater)
{
    const int n = (heater < 1 || heater > kMaxHeaters) ? 1 : heater;
    return static_cast<std::size_t>(array.offset + kMaxHeaters - n);
}
constexpr std::size_t HeaterWordOffset(ImageField array, int heater)
{
    const int n = (heater < 1 || heater > kMaxHeaters) ? 1 : heater;
    return static_cast<std::size_t>(array.offset + 2 * (kMaxHeaters - n));
}
// The grain temperature that grainSensorSelect chooses (0: 93-94, 1: 91-92, 2: 89-90; other
// values read as 0).
constexpr std::size_t SelectedGrainTempOffset(std::uint8_t select)
{
    return static_cast<std::size_t>(grainTemp.offset + 4 - 2 * (select <= 2 ? select : 0));
}
// Number of fan/heaters for a heaterCountCode (0 one ... 3 four, 4 six); unknown codes: 1.
constexpr int HeaterCountFromCode(std::uint8_t code)
{
    return code <= 3 ? code + 1 : (code == 4 ? 6 : 1);
}

// ---- the shared byte arrays -----------------------------------------------------------------
// A byte array that the communication thread and the user-interface thread share without a
// lock: every byte is a relaxed atomic, so each byte is read and written whole. A reader can
// see a multi-byte field half-updated for one paint; the next change repaints it.
template <std::size_t N>
class SharedBytes {
public:
    static constexpr std::size_t size() { return N; }
    std::uint8_t operator[](std::size_t i) const { return Get(i); }
    std::uint8_t Get(std::size_t i) const
    {
        return i < N ? bytes_[i].load(std::memory_order_relaxed) : 0;
    }
    void Set(std::size_t i, std::uint8_t value)
    {
        if (i < N) bytes_[i].store(value, std::memory_order_relaxed);
    }
    void Clear()
    {
        for (auto& b : bytes_) b.store(0, std::memory_order_relaxed);
    }

private:
    std::array<std::atomic<std::uint8_t>, N> bytes_{};
};

using ImageBytes = SharedBytes<kImageSize>;

// The last answer of the Display I/O board (written by the answer decoder).
extern ImageBytes DryerImage;
// The operator's requested values at the same offsets (written by screens and timers).
extern ImageBytes DesiredSettings;

// ---- byte-order readers and writers ---------------------------------------------------------
// They take any byte array with size() and [] (std::array, std::span, SharedBytes). An offset
// whose field would run past the end reads as 0 and is not written.
namespace image_detail {
template <typename Bytes>
constexpr std::uint8_t At(const Bytes& bytes, std::size_t i)
{
    return static_cast<std::uint8_t>(bytes[i]);
}
template <typename Bytes>
constexpr void Put(Bytes& bytes, std::size_t i, std::uint8_t v)
{
    bytes[i] = v;
}
template <std::size_t N>
inline void Put(SharedBytes<N>& bytes, std::size_t i, std::uint8_t v)
{
    bytes.Set(i, v);
}
template <typename Bytes>
constexpr bool Fits(const Bytes& bytes, std::size_t offset, std::size_t width)
{
    return offset <= std::size(bytes) && std::size(bytes) - offset >= width;
}
}  // namespace image_detail

template <typename Bytes>
constexpr std::uint16_t ReadLe16(const Bytes& bytes, std::size_t offset)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 2)) return 0;
    return static_cast<std::uint16_t>(At(bytes, offset) | (At(bytes, offset + 1) << 8));
}
template <typename Bytes>
constexpr std::uint16_t ReadBe16(const Bytes& bytes, std::size_t offset)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 2)) return 0;
    return static_cast<std::uint16_t>((At(bytes, offset) << 8) | At(bytes, offset + 1));
}
template <typename Bytes>
constexpr std::int16_t ReadSignedLe16(const Bytes& bytes, std::size_t offset)
{
    return static_cast<std::int16_t>(ReadLe16(bytes, offset));
}
template <typename Bytes>
constexpr std::int16_t ReadSignedBe16(const Bytes& bytes, std::size_t offset)
{
    return static_cast<std::int16_t>(ReadBe16(bytes, offset));
}
template <typename Bytes>
constexpr std::uint32_t ReadLe32(const Bytes& bytes, std::size_t offset)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 4)) return 0;
    return static_cast<std::uint32_t>(At(bytes, offset)) |
           (static_cast<std::uint32_t>(At(bytes, offset + 1)) << 8) |
           (static_cast<std::uint32_t>(At(bytes, offset + 2)) << 16) |
           (static_cast<std::uint32_t>(At(bytes, offset + 3)) << 24);
}
// A minutes/seconds pair as seconds.
template <typename Bytes>
constexpr std::uint32_t ReadTimeSeconds(const Bytes& bytes, std::size_t offset)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 2)) return 0;
    return static_cast<std::uint32_t>(At(bytes, offset)) * 60u + At(bytes, offset + 1);
}

template <typename Bytes>
constexpr void WriteLe16(Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 2)) return;
    Put(bytes, offset, static_cast<std::uint8_t>(value & 0xFF));
    Put(bytes, offset + 1, static_cast<std::uint8_t>(value >> 8));
}
template <typename Bytes>
constexpr void WriteBe16(Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 2)) return;
    Put(bytes, offset, static_cast<std::uint8_t>(value >> 8));
    Put(bytes, offset + 1, static_cast<std::uint8_t>(value & 0xFF));
}
template <typename Bytes>
constexpr void WriteLe32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    using namespace image_detail;
    if (!Fits(bytes, offset, 4)) return;
    for (std::size_t i = 0; i < 4; ++i) {
        Put(bytes, offset + i, static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

// ---- units ----------------------------------------------------------------------------------
// Temperatures are whole degrees Fahrenheit; Celsius is only a display form, truncated toward
// zero, used while unitsAndOptions bit 7 is set.
constexpr int FahrenheitToCelsius(int fahrenheit)
{
    return (fahrenheit - 32) * 5 / 9;
}
constexpr bool IsSiUnits(std::uint8_t unitsAndOptionsByte)
{
    return (unitsAndOptionsByte & kUnitsSiBit) != 0;
}
// The number a screen shows for a temperature in the panel's current units.
constexpr int DisplayTemperature(int fahrenheit, bool si)
{
    return si ? FahrenheitToCelsius(fahrenheit) : fahrenheit;
}

// ---- boards and warnings --------------------------------------------------------------------
// The boards of the dryer's control network.
enum class NodeId : std::uint8_t {
    none = 0,
    displayIo = 1,
    fanHeater1 = 2,  // 2-7: Fan/Heater 1-6 (burner and plenum #1-#6)
    fanHeater6 = 7,
    fanHeaterInterface1 = 8,  // 8-13: Fan/Heater Interface 1-6
    fanHeaterInterface6 = 13,
    mainIo = 14,
    moistureControl = 15,
};
inline constexpr int kNodeIdCount = 16;  // 0-15

constexpr NodeId FanHeaterNode(int heater)
{
    return (heater < 1 || heater > kMaxHeaters) ? NodeId::none : static_cast<NodeId>(1 + heater);
}
constexpr NodeId FanHeaterInterfaceNode(int heater)
{
    return (heater < 1 || heater > kMaxHeaters) ? NodeId::none : static_cast<NodeId>(7 + heater);
}

// High byte the NodeId of the reporting board, low byte the warning's index on that board
// ("0E05" is Main I/O warning 5). Index 0 is not a warning.
using WarningCode = std::uint16_t;

constexpr WarningCode MakeWarningCode(std::uint8_t node, std::uint8_t index)
{
    return static_cast<WarningCode>((node << 8) | index);
}
constexpr std::uint8_t WarningNodeOf(WarningCode code)
{
    return static_cast<std::uint8_t>(code >> 8);
}
constexpr std::uint8_t WarningIndexOf(WarningCode code)
{
    return static_cast<std::uint8_t>(code & 0xFF);
}
// The active warning in an image (0: none).
template <typename Bytes>
constexpr WarningCode ActiveWarningCode(const Bytes& bytes)
{
    using namespace image_detail;
    return MakeWarningCode(At(bytes, warningNode.offset), At(bytes, warningIndex.offset));
}
