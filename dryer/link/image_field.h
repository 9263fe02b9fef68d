// How the dryer image is described and read. An ImageField describes one field of the 300-byte
// image: where it lies, how its bytes encode a value, whether and by which PendingCommand flag
// the panel may set it, and which windows draw it. ImageBits names bits inside a field. The
// readers and writers take the byte array (the shared image, a frame, a snapshot) and a name,
// so no code outside this header reads the image by offset.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "dryer/link/dryer_boards.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_target.h"

inline constexpr std::size_t kImageSize = 300;

// How a field's bytes hold its values.
enum class Encoding : std::uint8_t {
    bytes,       // bytes or bit sets, each byte compared and copied on its own
    le16,        // 16-bit words, low byte at the lower offset
    signedLe16,  // signed 16-bit words, low byte first
    be16,        // 16-bit words, high byte first
    signedBe16,  // signed 16-bit words, high byte first
    minSec,      // times as minutes, seconds pairs
    le32,        // one 32-bit value, low byte first
    group,       // bytes compared and copied as one unit
};

// Who writes a field.
enum class Access : std::uint8_t {
    status,   // the board reports it; the panel never sets it
    setting,  // the panel sets it through its flag; the board's echo confirms it
    reload,   // a countdown the panel restarts through its flag; confirmed when the board
              // reports the countdown at the reload value
    oneShot,  // the panel sends it through its flag once; there is no echo to wait for
    command,  // only sent, never in answers: the clock
};

// Bytes of one element of a field (a value, or one byte of a byte array).
constexpr std::uint8_t UnitWidth(Encoding encoding, std::uint8_t width)
{
    switch (encoding) {
        case Encoding::bytes: return 1;
        case Encoding::le32: return 4;
        case Encoding::group: return width;
        default: return 2;
    }
}

inline constexpr int kMaxElements = 8;

// One field of the image. Arrays hold `count()` elements of `unit()` bytes; per-heater arrays
// hold Fan/Heater 6 first. A settable array has one flag per element: element k is sent by the
// k-th flag after `pending`.
struct ImageField {
    std::uint16_t offset = 0;
    std::uint8_t width = 1;
    Encoding encoding = Encoding::bytes;
    Access access = Access::status;
    Pending pending = Pending::none;
    RepaintSet repaint = 0;                                 // windows that draw every element
    std::array<RepaintSet, kMaxElements> elementRepaint{};  // windows that draw one element
    std::uint8_t ackMask = 0xFF;  // bits in which the board's echo must match (bytes only)

    constexpr std::uint8_t unit() const { return UnitWidth(encoding, width); }
    constexpr int count() const { return width / unit(); }
    constexpr std::uint16_t end() const { return static_cast<std::uint16_t>(offset + width); }
    constexpr bool settable() const { return pending != Pending::none; }
    constexpr bool decoded() const { return access != Access::command; }
    constexpr RepaintSet RepaintOf(int element) const
    {
        return element >= 0 && element < kMaxElements ? repaint | elementRepaint[element] : repaint;
    }
    constexpr bool operator==(const ImageField&) const = default;

    // Element k (0-based; outside the array: element 0) as a field of its own.
    constexpr ImageField Element(int k) const
    {
        const int n = (k < 0 || k >= count()) ? 0 : k;
        ImageField e = *this;
        e.offset = static_cast<std::uint16_t>(offset + n * unit());
        e.width = unit();
        if (settable()) e.pending = static_cast<Pending>(static_cast<int>(pending) + n);
        e.repaint = RepaintOf(n);
        e.elementRepaint = {};
        return e;
    }

    // ---- description, for the field table ----
    constexpr ImageField Sets(Pending flag) const { return With(Access::setting, flag); }
    constexpr ImageField Reloads(Pending flag) const { return With(Access::reload, flag); }
    constexpr ImageField SentOnce(Pending flag) const { return With(Access::oneShot, flag); }
    constexpr ImageField CommandOnly(Pending flag) const { return With(Access::command, flag); }
    constexpr ImageField Repaints(RepaintSet targets) const
    {
        ImageField f = *this;
        f.repaint |= targets;
        return f;
    }
    constexpr ImageField RepaintsElement(int k, RepaintSet targets) const
    {
        ImageField f = *this;
        if (k >= 0 && k < kMaxElements) f.elementRepaint[k] |= targets;
        return f;
    }
    constexpr ImageField AcknowledgedUnder(std::uint8_t mask) const
    {
        ImageField f = *this;
        f.ackMask = mask;
        return f;
    }

private:
    constexpr ImageField With(Access a, Pending flag) const
    {
        ImageField f = *this;
        f.access = a;
        f.pending = flag;
        return f;
    }
};

constexpr ImageField Field(std::uint16_t offset, int elements, Encoding encoding)
{
    // A group is as wide as the bytes it is given; the others repeat their unit.
    const int unit = encoding == Encoding::group ? 1 : UnitWidth(encoding, 1);
    ImageField f;
    f.offset = offset;
    f.encoding = encoding;
    f.width = static_cast<std::uint8_t>(elements * unit);
    return f;
}
constexpr ImageField Byte(std::uint16_t offset)
{
    return Field(offset, 1, Encoding::bytes);
}
constexpr ImageField Bytes(std::uint16_t offset, int count)
{
    return Field(offset, count, Encoding::bytes);
}
constexpr ImageField Group(std::uint16_t offset, int width)
{
    return Field(offset, width, Encoding::group);
}
constexpr ImageField WordLe(std::uint16_t offset, int count = 1)
{
    return Field(offset, count, Encoding::le16);
}
constexpr ImageField SignedLe(std::uint16_t offset, int count = 1)
{
    return Field(offset, count, Encoding::signedLe16);
}
constexpr ImageField WordBe(std::uint16_t offset, int count = 1)
{
    return Field(offset, count, Encoding::be16);
}
constexpr ImageField SignedBe(std::uint16_t offset, int count = 1)
{
    return Field(offset, count, Encoding::signedBe16);
}
constexpr ImageField Time(std::uint16_t offset)
{
    return Field(offset, 1, Encoding::minSec);
}
constexpr ImageField Le32(std::uint16_t offset)
{
    return Field(offset, 1, Encoding::le32);
}

// Entry of Fan/Heater n (1-6) in a per-heater array, which holds Fan/Heater 6 first; a
// one-heater dryer uses the last entry only. n outside 1-6 is taken as 1.
constexpr int HeaterElement(int heater)
{
    return kMaxHeaters - ((heater < 1 || heater > kMaxHeaters) ? 1 : heater);
}
constexpr ImageField ForHeater(ImageField array, int heater)
{
    return array.Element(HeaterElement(heater));
}

// Bits inside one byte of a field. Bits of a per-heater array are named on its first entry
// (Fan/Heater 6); ForHeater moves them to another heater's entry.
struct ImageBits {
    std::uint16_t offset = 0;
    std::uint8_t mask = 0;
    constexpr int shift() const { return std::countr_zero(static_cast<unsigned>(mask)); }
};
// Bits of byte `index` of a field (0: its first byte).
constexpr ImageBits Bits(ImageField field, std::uint8_t mask, int index = 0)
{
    return ImageBits{static_cast<std::uint16_t>(field.offset + index), mask};
}
constexpr ImageBits ForHeater(ImageBits bits, int heater)
{
    return ImageBits{static_cast<std::uint16_t>(bits.offset + HeaterElement(heater)), bits.mask};
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

// ---- readers and writers --------------------------------------------------------------------
// They take any byte array with size() and [] (std::array, std::span, SharedBytes). A field that
// would run past the end of the array reads as 0 and is not written.
namespace image_detail {
template <typename Bytes>
constexpr bool Fits(const Bytes& bytes, std::size_t offset, std::size_t width)
{
    return offset <= std::size(bytes) && std::size(bytes) - offset >= width;
}
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
}  // namespace image_detail

// A 32-bit field (the bushel counter).
template <typename Bytes>
constexpr std::uint32_t ReadCounter(const Bytes& bytes, ImageField field)
{
    using namespace image_detail;
    if (!Fits(bytes, field.offset, 4)) return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | At(bytes, field.offset + i);
    return value;
}

// The first element of a field as a number: a byte, a 16-bit word in its byte order and
// signedness, a time pair as seconds, a 32-bit value (up to the largest int; ReadCounter reads
// all of it), or the first byte of a group.
template <typename Bytes>
constexpr int Value(const Bytes& bytes, ImageField field)
{
    using namespace image_detail;
    if (!Fits(bytes, field.offset, field.unit())) return 0;
    const std::size_t o = field.offset;
    switch (field.encoding) {
        case Encoding::bytes:
        case Encoding::group: return At(bytes, o);
        case Encoding::le16: return At(bytes, o) | (At(bytes, o + 1) << 8);
        case Encoding::signedLe16:
            return static_cast<std::int16_t>(At(bytes, o) | (At(bytes, o + 1) << 8));
        case Encoding::be16: return (At(bytes, o) << 8) | At(bytes, o + 1);
        case Encoding::signedBe16:
            return static_cast<std::int16_t>((At(bytes, o) << 8) | At(bytes, o + 1));
        case Encoding::minSec: return At(bytes, o) * 60 + At(bytes, o + 1);
        case Encoding::le32: {
            const std::uint32_t counter = ReadCounter(bytes, field);
            return counter > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(counter);
        }
    }
    return 0;
}

// A time pair as the board sends it: minutes and seconds, each as it stands (a board may send
// seconds of 60 or more; they are shown as sent).
struct MinSec {
    int minutes = 0;
    int seconds = 0;
};
template <typename Bytes>
constexpr MinSec ReadTime(const Bytes& bytes, ImageField field)
{
    using namespace image_detail;
    if (!Fits(bytes, field.offset, 2)) return {};
    return MinSec{At(bytes, field.offset), At(bytes, field.offset + 1)};
}

template <typename Bytes>
constexpr void WriteTime(Bytes& bytes, ImageField field, MinSec time)
{
    using namespace image_detail;
    if (!Fits(bytes, field.offset, 2)) return;
    Put(bytes, field.offset, static_cast<std::uint8_t>(time.minutes));
    Put(bytes, field.offset + 1, static_cast<std::uint8_t>(time.seconds));
}

// Writes the first element of a field: a byte, a word in the field's byte order, seconds as a
// minutes, seconds pair (minutes up to 255), or a 32-bit value.
template <typename Bytes>
constexpr void SetValue(Bytes& bytes, ImageField field, std::int64_t value)
{
    using namespace image_detail;
    if (!Fits(bytes, field.offset, field.unit())) return;
    const std::size_t o = field.offset;
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    const auto high = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    switch (field.encoding) {
        case Encoding::bytes:
        case Encoding::group: Put(bytes, o, low); return;
        case Encoding::le16:
        case Encoding::signedLe16:
            Put(bytes, o, low);
            Put(bytes, o + 1, high);
            return;
        case Encoding::be16:
        case Encoding::signedBe16:
            Put(bytes, o, high);
            Put(bytes, o + 1, low);
            return;
        case Encoding::minSec: {
            const std::int64_t minutes = value < 0 ? 0 : value / 60;
            Put(bytes, o, static_cast<std::uint8_t>(minutes > 255 ? 255 : minutes));
            Put(bytes, o + 1, static_cast<std::uint8_t>(value < 0 ? 0 : value % 60));
            return;
        }
        case Encoding::le32:
            for (std::size_t i = 0; i < 4; ++i) {
                Put(bytes, o + i, static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
            }
            return;
    }
}

// Copies a whole field (every byte) from one array to another.
template <typename From, typename To>
constexpr void CopyField(const From& from, To& to, ImageField field)
{
    using namespace image_detail;
    if (!Fits(from, field.offset, field.width) || !Fits(to, field.offset, field.width)) return;
    for (std::size_t i = field.offset; i < field.end(); ++i) Put(to, i, At(from, i));
}

// True when any of the bits is set.
template <typename Bytes>
constexpr bool IsSet(const Bytes& bytes, ImageBits bits)
{
    using namespace image_detail;
    return Fits(bytes, bits.offset, 1) && (At(bytes, bits.offset) & bits.mask) != 0;
}
// True when all of the bits are set.
template <typename Bytes>
constexpr bool AllSet(const Bytes& bytes, ImageBits bits)
{
    using namespace image_detail;
    return Fits(bytes, bits.offset, 1) && (At(bytes, bits.offset) & bits.mask) == bits.mask;
}
// The bits as a small number (shifted down to bit 0).
template <typename Bytes>
constexpr int BitsValue(const Bytes& bytes, ImageBits bits)
{
    using namespace image_detail;
    if (!Fits(bytes, bits.offset, 1)) return 0;
    return (At(bytes, bits.offset) & bits.mask) >> bits.shift();
}
// Sets or clears the bits in their byte.
template <typename Bytes>
constexpr void SetBits(Bytes& bytes, ImageBits bits, bool on)
{
    using namespace image_detail;
    if (!Fits(bytes, bits.offset, 1)) return;
    const std::uint8_t old = At(bytes, bits.offset);
    Put(bytes, bits.offset, static_cast<std::uint8_t>(on ? old | bits.mask : old & ~bits.mask));
}
// Stores a small number into the bits (the inverse of BitsValue).
template <typename Bytes>
constexpr void SetBitsValue(Bytes& bytes, ImageBits bits, int value)
{
    using namespace image_detail;
    if (!Fits(bytes, bits.offset, 1)) return;
    const std::uint8_t old = At(bytes, bits.offset);
    const auto shifted = static_cast<std::uint8_t>((value << bits.shift()) & bits.mask);
    Put(bytes, bits.offset, static_cast<std::uint8_t>((old & ~bits.mask) | shifted));
}
