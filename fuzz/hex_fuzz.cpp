// Random bytes through the HEX reader. The first input byte chooses the path: the bytes as
// text as they are, or a file of well-formed records (right checksums) whose types, addresses,
// counts and data come from the input, so that runs reach the image and the address records.
// Any text: a refused one leaves the image blank, an accepted one has data only below its
// length. Shaped files are also read by a plain byte-by-byte model of the board's flash, and
// both must agree on the outcome and on every image byte.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "flasher/hex_parser.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

HexImage g_image;
const std::array<std::uint8_t, kHexImageSize> kBlank = [] {
    std::array<std::uint8_t, kHexImageSize> blank{};
    blank.fill(0xFF);
    return blank;
}();

constexpr char kUpper[] = "0123456789ABCDEF";
constexpr char kLower[] = "0123456789abcdef";

struct Shaped {
    std::string text;
    HexFault expected = HexFault::None;
    std::map<std::uint32_t, std::uint8_t> flash;  // the model's image
};

// The model: one record at a time, the same rules as the panel's reader, written plainly.
struct Model {
    std::int64_t base = 0;
    bool banked = false;
    bool end = false;
    std::optional<HexFault> fault;
};

void ModelRecord(Model& m, Shaped& out, std::uint8_t type, std::uint16_t address, const Bytes& data)
{
    if (m.fault || m.end) return;
    const std::int64_t origin = m.banked ? 0x10000 : 0;
    switch (type) {
        case 0x00: {
            const std::int64_t first = m.base + address - origin;
            if (first < 0 || first + static_cast<std::int64_t>(data.size()) > kHexImageSize) {
                if (!data.empty()) m.fault = HexFault::OutsideImage;
                return;
            }
            for (std::size_t i = 0; i < data.size(); ++i) {
                if (out.flash.count(static_cast<std::uint32_t>(first + i)) != 0) {
                    m.fault = HexFault::Overlap;
                    return;
                }
            }
            for (std::size_t i = 0; i < data.size(); ++i) {
                out.flash[static_cast<std::uint32_t>(first + i)] =
                    static_cast<std::uint8_t>(data[i]);
            }
            return;
        }
        case 0x01: m.end = true; return;
        case 0x02:
        case 0x04: {
            const std::int64_t value =
                (static_cast<std::uint8_t>(data[0]) << 8) | static_cast<std::uint8_t>(data[1]);
            m.base = type == 0x04 ? value * 65536 : value * 16;
            m.banked = true;
            return;
        }
        default: return;
    }
}

void PutRecord(std::string& text, const char* digits, std::uint8_t type, std::uint16_t address,
               const Bytes& data, bool crlf)
{
    unsigned sum = 0;
    auto put = [&](std::uint8_t value) {
        text += digits[value >> 4];
        text += digits[value & 0x0F];
        sum += value;
    };
    text += ':';
    put(static_cast<std::uint8_t>(data.size()));
    put(static_cast<std::uint8_t>(address >> 8));
    put(static_cast<std::uint8_t>(address & 0xFF));
    put(type);
    for (std::uint8_t value : data) put(value);
    const auto checksum = static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
    text += digits[checksum >> 4];
    text += digits[checksum & 0x0F];
    text += crlf ? "\r\n" : "\n";
}

Shaped Shape(std::span<const std::uint8_t> data)
{
    Shaped out;
    if (data.empty()) {
        out.expected = HexFault::NoData;
        return out;
    }
    const std::uint8_t options = data[0];
    const char* digits = (options & 1) != 0 ? kLower : kUpper;
    const bool crlf = (options & 2) != 0;
    const bool withEnd = (options & 4) == 0;
    Model model;
    std::size_t at = 1;
    bool anyRecord = false;
    while (at + 4 <= data.size()) {
        const std::uint8_t kind = data[at] % 8;
        auto address = static_cast<std::uint16_t>((data[at + 1] << 8) | data[at + 2]);
        const std::size_t count = std::min<std::size_t>(data[at + 3] % 40, data.size() - at - 4);
        Bytes bytes(data.begin() + static_cast<std::ptrdiff_t>(at + 4),
                    data.begin() + static_cast<std::ptrdiff_t>(at + 4 + count));
        at += 4 + count;
        std::uint8_t type = 0x00;
        if (kind == 5 || kind == 6) {
            // address records near the image: upper 0 to 9, segments up to 0x9FFF
            type = kind == 5 ? 0x04 : 0x02;
            const std::uint16_t value =
                kind == 5 ? address % 10 : static_cast<std::uint16_t>(address % 0xA000);
            bytes = {static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value & 0xFF)};
            address = 0;
        } else if (kind == 7) {
            type = 0x05;
            bytes.resize(4, 0);
            address = 0;
        }
        PutRecord(out.text, digits, type, address, bytes, crlf);
        anyRecord = true;
        ModelRecord(model, out, type, address, bytes);
    }
    if (withEnd) {
        PutRecord(out.text, digits, 0x01, 0, {}, crlf);
        anyRecord = true;
        ModelRecord(model, out, 0x01, 0, {});
    }
    if (model.fault) {
        out.expected = *model.fault;
    } else if (!anyRecord || (model.end && out.flash.empty())) {
        out.expected = HexFault::NoData;
    } else if (!model.end) {
        out.expected = HexFault::NoEndRecord;
    }
    return out;
}

void CheckImage(const HexReadResult& result)
{
    if (!result.ok() && g_image.length != 0) std::abort();
    if (g_image.length > kHexImageSize) std::abort();
    if (std::memcmp(g_image.bytes.data() + g_image.length, kBlank.data(),
                    kHexImageSize - g_image.length) != 0) {
        std::abort();
    }
    if (result.ok() && (g_image.length == 0 || result.line != 0)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    if ((data[0] & 1) == 0) {
        const HexReadResult result = ParseHexText(input, g_image);
        CheckImage(result);
        if (result.bytesRead != input.size()) std::abort();
        return 0;
    }
    const Shaped shaped = Shape(input);
    const std::span<const std::uint8_t> text(
        reinterpret_cast<const std::uint8_t*>(shaped.text.data()), shaped.text.size());
    const HexReadResult result = ParseHexText(text, g_image);
    CheckImage(result);
    if (result.fault != shaped.expected) std::abort();
    if (!result.ok()) return 0;
    std::uint32_t length = 0;
    for (const auto& [position, value] : shaped.flash) {
        if (g_image.bytes[position] != value) std::abort();
        length = std::max(length, position + 1);
    }
    if (g_image.length != length) std::abort();
    for (std::uint32_t p = 0; p < length; ++p) {
        if (shaped.flash.count(p) == 0 && g_image.bytes[p] != 0xFF) std::abort();
    }
    return 0;
}
