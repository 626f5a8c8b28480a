#include "link/frame.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstdint>
#include <ostream>
#include <vector>

using namespace radioset;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

struct FixedFrame {
    const char* name;
    std::uint8_t command;
    std::vector<std::uint8_t> payload;
    const char* wire;
};

void PrintTo(const FixedFrame& f, std::ostream* os)
{
    *os << f.wire;
}

class FixedFrames : public ::testing::TestWithParam<FixedFrame> {};

TEST_P(FixedFrames, BuildsTheBytesOnTheLine)
{
    const FixedFrame& f = GetParam();
    const QByteArray expected = Hex(f.wire);

    // Built into a dirty buffer, as the transmit buffer is never cleared:
    // only the frame's own positions may change.
    std::uint8_t buffer[50];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    const int length = BuildFrame(buffer, f.command, f.payload);

    ASSERT_EQ(length, expected.size());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), length).toHex(' '), expected.toHex(' '));
    for (int i = length; i < 50; ++i)
        ASSERT_EQ(buffer[i], 0xEE) << "position " << i;
    EXPECT_EQ(MakeFrame(f.command, f.payload), expected);

    // What the module sends back the same way must be accepted as-is.
    const auto parsed = ParseFrame(expected);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->command, f.command);
    EXPECT_EQ(parsed->payload, QByteArray(reinterpret_cast<const char*>(f.payload.data()), static_cast<qsizetype>(f.payload.size())));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, FixedFrames,
    ::testing::Values(
        FixedFrame{"ReadAirRate", CmdReadAirRate, {0x00}, "55 AA 03 23 00 00 26"},
        FixedFrame{"ReadChannel", CmdReadChannel, {0x00}, "55 AA 03 24 00 00 27"},
        FixedFrame{"ReadPower", CmdReadPower, {0x00}, "55 AA 03 53 00 00 56"},
        FixedFrame{"Detect", CmdDetect, {0x00, 0x00}, "55 AA 04 27 00 00 00 2B"},
        FixedFrame{"CarrierTest", CmdCarrierTest, {0x00}, "55 AA 03 67 00 00 6A"},
        FixedFrame{"ZeroOneTest", CmdZeroOneTest, {0x00}, "55 AA 03 69 00 00 6C"},
        FixedFrame{"RxTest", CmdRxTest, {0x00}, "55 AA 03 66 00 00 69"},
        FixedFrame{"StopTest", CmdStopTest, {0x00}, "55 AA 03 68 00 00 6B"},
        FixedFrame{"TrimUpFine", CmdTrimUpFine, {0x00}, "55 AA 03 71 00 00 74"},
        FixedFrame{"TrimDownFine", CmdTrimDownFine, {0x00}, "55 AA 03 72 00 00 75"},
        FixedFrame{"TrimUpCoarse", CmdTrimUpCoarse, {0x0A}, "55 AA 03 51 0A 00 5E"},
        FixedFrame{"TrimDownCoarse", CmdTrimDownCoarse, {0x0A}, "55 AA 03 52 0A 00 5F"},
        // A sum above 255 carries into the high checksum byte.
        FixedFrame{"SetChannel255", CmdSetChannel, {0xFF, 0, 0, 0}, "55 AA 06 07 FF 00 00 00 01 0C"},
        FixedFrame{"SetChannel1", CmdSetChannel, {0x01, 0, 0, 0}, "55 AA 06 07 01 00 00 00 00 0E"},
        FixedFrame{"SetAirRate9600", CmdSetAirRate, {0x05, 0x96}, "55 AA 04 20 05 96 00 BF"},
        FixedFrame{"SetSerial38400Even", CmdSetSerialRate, {0x37}, "55 AA 03 28 37 00 62"},
        FixedFrame{"SetFrameHead7E", CmdSetFrameHead, {0x7E}, "55 AA 03 82 7E 01 03"},
        FixedFrame{"ReadFrequency17", CmdReadFrequency, {0x11, 0x00}, "55 AA 04 59 11 00 00 6E"},
        FixedFrame{"SetFrequency1", CmdSetFrequency, {0x01, 0x43, 0x39, 0x25, 0x00, 0x43, 0x39, 0x25, 0x00},
                   "55 AA 0B 58 01 43 39 25 00 43 39 25 00 01 A6"},
        FixedFrame{"CmdOk", RspCmdOk, {}, "55 AA 02 20 00 22"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FrameChecksum, SumsUnsignedBytesWithoutOverflow)
{
    std::vector<std::uint8_t> full(255, 0xFF);
    EXPECT_EQ(FrameChecksum(full.data(), 255), 255 * 255);
    const std::uint8_t some[] = {0x06, 0x07, 0xFF, 0x00};
    EXPECT_EQ(FrameChecksum(some, 4), 0x10C);
    EXPECT_EQ(FrameChecksum(some, 0), 0);
}

TEST(FrameChecksum, StoresFromTheLengthByte)
{
    // The checksum is computed over as many bytes as the stored length byte
    // says, even when later positions hold leftovers of a longer frame.
    std::uint8_t buffer[10] = {0x55, 0xAA, 0x03, 0x24, 0x05, 0x99, 0x99, 0x77, 0x77, 0x77};
    StoreFrameChecksum(buffer);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), 10), Hex("55 AA 03 24 05 00 2C 77 77 77"));
}

struct PackageCase {
    const char* name;
    const char* bytes;
    bool valid;
    int command;
    const char* payload;
};

void PrintTo(const PackageCase& c, std::ostream* os)
{
    *os << c.bytes;
}

class Packages : public ::testing::TestWithParam<PackageCase> {};

TEST_P(Packages, AreExactlyOneFrameOrNothing)
{
    const PackageCase& c = GetParam();
    const auto parsed = ParseFrame(Hex(c.bytes));
    ASSERT_EQ(parsed.has_value(), c.valid);
    if (c.valid) {
        EXPECT_EQ(parsed->command, c.command);
        EXPECT_EQ(parsed->payload, Hex(c.payload));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Validation, Packages,
    ::testing::Values(
        PackageCase{"Channel5", "55 AA 03 24 05 00 2C", true, 0x24, "05"},
        PackageCase{"Ack", "55 AA 02 20 00 22", true, 0x20, ""},
        PackageCase{"LastByteChanged", "55 AA 03 24 05 00 2D", false, 0, ""},
        PackageCase{"TrailingByte", "55 AA 03 24 05 00 2C 00", false, 0, ""},
        PackageCase{"TwoFramesMerged", "55 AA 03 24 05 00 2C 55 AA 02 20 00 22", false, 0, ""},
        PackageCase{"ChecksumSwapped", "55 AA 03 24 05 2C 00", false, 0, ""},
        PackageCase{"OneByteShort", "55 AA 03 24 05 00", false, 0, ""},
        PackageCase{"WrongHead", "AA 55 03 24 05 00 2C", false, 0, ""},
        PackageCase{"HeadOnly", "55 AA", false, 0, ""},
        PackageCase{"HeadAndZeroLength", "55 AA 00", false, 0, ""},
        PackageCase{"Empty", "", false, 0, ""},
        // The command byte of these shortest frames is a checksum byte too.
        PackageCase{"FourByteMinimal", "55 AA 00 00", true, 0x00, ""},
        PackageCase{"FiveByteMinimal", "55 AA 01 00 01", true, 0x00, ""},
        PackageCase{"CarryAccepted", "55 AA 06 07 FF 00 00 00 01 0C", true, 0x07, "FF 00 00 00"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ParseFrame, NeverReadsPastThePackage)
{
    // A frame with L = 3 cut before its checksum: the parser must not look
    // at the bytes that follow in the caller's buffer.
    std::vector<std::uint8_t> heap = {0x55, 0xAA, 0x03, 0x24, 0x05};
    EXPECT_FALSE(ParseFrame(heap.data(), static_cast<int>(heap.size())));
    EXPECT_FALSE(ParseFrame(QByteArray(1200, '\x55')));
}

} // namespace
