#pragma once

// The framed message of the module protocol:
//
//   55 AA | L | command | payload (L-2 bytes) | S high | S low
//
// L counts the length byte, the command byte and the payload; S is the plain
// sum of those L bytes, sent high byte first. A frame is L + 4 bytes long.

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace radioset {

inline constexpr std::uint8_t FrameHead0 = 0x55;
inline constexpr std::uint8_t FrameHead1 = 0xAA;
// Head, length, command and the two checksum bytes.
inline constexpr int FrameOverhead = 6;
inline constexpr int MaxFramePayload = 253;
inline constexpr int MaxFrameLength = MaxFramePayload + FrameOverhead;

// Requests.
inline constexpr std::uint8_t CmdDetect = 0x27;
inline constexpr std::uint8_t CmdSetAirRate = 0x20;
inline constexpr std::uint8_t CmdReadAirRate = 0x23;
inline constexpr std::uint8_t CmdReadChannel = 0x24;
inline constexpr std::uint8_t CmdSetSerialRate = 0x28;
inline constexpr std::uint8_t CmdSetChannel = 0x07;
inline constexpr std::uint8_t CmdSetWorkMode = 0x81;
inline constexpr std::uint8_t CmdSetFrameHead = 0x82;
inline constexpr std::uint8_t CmdReadPower = 0x53;
inline constexpr std::uint8_t CmdSetPower = 0x33;
inline constexpr std::uint8_t CmdReadFrequency = 0x59;
inline constexpr std::uint8_t CmdSetFrequency = 0x58;
inline constexpr std::uint8_t CmdCarrierTest = 0x67;
inline constexpr std::uint8_t CmdZeroOneTest = 0x69;
inline constexpr std::uint8_t CmdRxTest = 0x66;
inline constexpr std::uint8_t CmdStopTest = 0x68;
inline constexpr std::uint8_t CmdTrimUpFine = 0x71;
inline constexpr std::uint8_t CmdTrimDownFine = 0x72;
inline constexpr std::uint8_t CmdTrimUpCoarse = 0x51;
inline constexpr std::uint8_t CmdTrimDownCoarse = 0x52;

// Responses. The generic acknowledgement shares its value with
// CmdSetAirRate; every other response carries the code of its request.
inline constexpr std::uint8_t RspCmdOk = 0x20;
inline constexpr std::uint8_t RspAirRate = 0x23;
inline constexpr std::uint8_t RspChannel = 0x24;
inline constexpr std::uint8_t RspDetect = 0x27;
inline constexpr std::uint8_t RspPower = 0x53;
inline constexpr std::uint8_t RspFrequencySet = 0x58;
inline constexpr std::uint8_t RspFrequency = 0x59;

// Sum of count bytes from data, each unsigned. Never overflows for the
// count of one frame (at most 255 bytes of at most 255).
int FrameChecksum(const std::uint8_t* data, int count);

// Computes S over the L bytes starting at frame[2], reading L from frame[2]
// itself, and stores it at frame[L+2] (high) and frame[L+3] (low). The
// buffer must hold L + 4 bytes.
void StoreFrameChecksum(std::uint8_t* frame);

// Writes a complete frame into out and returns its length (payload + 6).
// out must hold that many bytes; a payload above MaxFramePayload writes
// nothing and returns 0.
int BuildFrame(std::uint8_t* out, std::uint8_t command, std::span<const std::uint8_t> payload);

// The same frame as a byte array, for tests and the simulated module.
QByteArray MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload);
QByteArray MakeFrame(std::uint8_t command, std::initializer_list<std::uint8_t> payload);

struct ParsedFrame {
    std::uint8_t command = 0;
    // Bytes 4 .. L+1; empty when L <= 2. Never reaches past the package.
    QByteArray payload;
};

// The package as exactly one frame: head 55 AA, n == L + 4, checksum in the
// last two bytes high byte first. Anything else (trailing bytes, two frames,
// a truncated frame) gives nothing. The shortest packages that pass are the
// 4-byte 55 AA 00 00 and the 5-byte 55 AA 01 00 01; their command byte
// doubles as a checksum byte.
std::optional<ParsedFrame> ParseFrame(const std::uint8_t* data, int count);
std::optional<ParsedFrame> ParseFrame(const QByteArray& package);

} // namespace radioset
