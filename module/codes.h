#pragma once

// The module's codes for its settings, in the order the window lists them
// ("1200bps" .. "38400bps", "None"/"Odd"/"Even", "0DB" .. "15DB"). Shared by
// the window and radioset-cli so both put the same bytes on the wire.

#include <array>
#include <cstdint>

namespace radioset {

// The six rates of the rate lists, in list order.
inline constexpr std::array<int, 6> kModuleRates{1200, 2400, 4800, 9600, 19200, 38400};

// CmdSetSerialRate payload = parity bits | rate bits.
inline constexpr std::array<std::uint8_t, 6> kSerialRateBits{0x03, 0x02, 0x01, 0x00, 0x06, 0x07};
inline constexpr std::array<std::uint8_t, 3> kParityBits{0x00, 0x20, 0x30};

// Air rate, both in CmdSetAirRate and in RspAirRate.
inline constexpr std::array<std::uint8_t, 6> kAirRateCodes{0x12, 0x24, 0x48, 0x96, 0x19, 0x38};
// CmdSetAirRate carries this byte before the code.
inline constexpr std::uint8_t kAirRatePrefix = 0x05;

// Power level on the wire is list index + 1; these are the list's names.
inline constexpr std::array<const char*, 4> kPowerNames{"0DB", "5DB", "10DB", "15DB"};
inline constexpr int kPowerLevelMin = 1;
inline constexpr int kPowerLevelMax = 4;

inline constexpr std::uint8_t kTransparentMode = 0x11;
inline constexpr std::uint8_t kFrameHeadMode = 0x22;

// Index of a code in a table, or -1.
template <std::size_t N>
constexpr int IndexOfCode(const std::array<std::uint8_t, N>& codes, std::uint8_t code)
{
    for (std::size_t i = 0; i < N; ++i)
        if (codes[i] == code)
            return static_cast<int>(i);
    return -1;
}

} // namespace radioset
