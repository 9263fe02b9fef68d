// Request frames as the panel builds them, for the simulator tests.
#pragma once

#include <cstdint>
#include <vector>

#include "common/link/link_crc16.h"

namespace sim_test {

struct Rec {
    std::uint16_t address;
    std::vector<std::uint8_t> data;
};

inline std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> body)
{
    const std::size_t n = body.size();
    body.resize(n + 2);
    LinkCrc16Append(body, n);
    return body;
}

inline std::vector<std::uint8_t> Poll()
{
    return WithCrc({0x07, 0x00, 0x00, 0x00, 0x00});
}
inline std::vector<std::uint8_t> LinkReset()
{
    return WithCrc({0x06, 0x00});
}

inline std::vector<std::uint8_t> Command(const std::vector<Rec>& records)
{
    std::vector<std::uint8_t> body{0x00, static_cast<std::uint8_t>(records.size())};
    for (const Rec& r : records) {
        body.push_back(static_cast<std::uint8_t>(r.address >> 8));
        body.push_back(static_cast<std::uint8_t>(r.address & 0xFF));
        body.push_back(static_cast<std::uint8_t>(r.data.size()));
        body.insert(body.end(), r.data.begin(), r.data.end());
    }
    body[0] = static_cast<std::uint8_t>(body.size() + 2);
    return WithCrc(body);
}

}  // namespace sim_test
