// The data log sample: built from the dryer image and the panel clock, written as 18
// big-endian bytes, read back from a log file.
#include "dryer/records/data_log_sample.h"

namespace {

void PutWord(DataLogRecord& r, std::size_t at, int value)
{
    r[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    r[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

int SignedWord(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::int16_t>((b[at] << 8) | b[at + 1]);
}

int UnsignedWord(std::span<const std::uint8_t> b, std::size_t at)
{
    return (b[at] << 8) | b[at + 1];
}

}  // namespace

DataLogRecord EncodeDataLogSample(const DataLogSample& s)
{
    DataLogRecord r{};
    PutWord(r, 0, s.grainTemp);
    PutWord(r, 2, s.incomingTemp);
    PutWord(r, 4, s.incomingMoisture);
    PutWord(r, 6, s.outgoingTemp);
    PutWord(r, 8, s.outgoingMoisture);
    r[10] = 0;
    r[11] = static_cast<std::uint8_t>(s.meterRollOutput & 0xFF);
    r[12] = 0;
    r[13] = static_cast<std::uint8_t>(s.hour);
    r[14] = static_cast<std::uint8_t>(s.minute);
    r[15] = static_cast<std::uint8_t>(s.second);
    r[16] = static_cast<std::uint8_t>(s.month);
    r[17] = static_cast<std::uint8_t>(s.day);
    return r;
}

std::optional<DataLogSample> DecodeDataLogSample(std::span<const std::uint8_t> b)
{
    if (b.size() < kDataLogSampleSize) return std::nullopt;
    DataLogSample s;
    s.grainTemp = SignedWord(b, 0);
    s.incomingTemp = SignedWord(b, 2);
    s.incomingMoisture = UnsignedWord(b, 4);
    s.outgoingTemp = SignedWord(b, 6);
    s.outgoingMoisture = UnsignedWord(b, 8);
    s.meterRollOutput = UnsignedWord(b, 10);
    s.hour = b[13];
    s.minute = b[14];
    s.second = b[15];
    s.month = b[16];
    s.day = b[17];
    return s;
}

DataLogSample BuildDataLogSample(const ImageBytes& image, const SYSTEMTIME& now)
{
    DataLogSample s;
    s.grainTemp = Value(image, GrainTempEntry(Value(image, grainSensorSelect)));
    // The sensor words go to the record as the board sent them, read back as signed.
    s.incomingTemp = static_cast<std::int16_t>(Value(image, wetSensorTemp));
    s.incomingMoisture = Value(image, wetMoisture);
    s.outgoingTemp = static_cast<std::int16_t>(Value(image, drySensorTemp));
    s.outgoingMoisture = Value(image, dryMoisture);
    s.meterRollOutput = Value(image, mediumWhole);  // byte 245, the roll output in percent
    s.hour = now.wHour;
    s.minute = now.wMinute;
    s.second = now.wSecond;
    s.month = now.wMonth;
    s.day = now.wDay;
    return s;
}
