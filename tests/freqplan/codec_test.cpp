#include "freqplan/codec.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace radioset {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", b);
        out += buf;
    }
    return out;
}

std::string ConversionError(const auto& call)
{
    try {
        call();
    } catch (const EConvertError& e) {
        return e.message().toStdString();
    }
    return "(no error)";
}

struct RoundTrip {
    const char* text;
    const char* digits;
    const char* wire;
    const char* shown;
};

TEST(FrequencyCodec, TextToWireAndBack)
{
    const RoundTrip table[] = {
        {"433.92500", "43392500", "43 39 25 00", "433.92500"},
        {"433.925", "43392500", "43 39 25 00", "433.92500"},
        {"433.9", "43390000", "43 39 00 00", "433.90000"},
        {"433", "43300000", "43 30 00 00", "433.00000"},
        {"100", "10000000", "10 00 00 00", "100.00000"},
        {"999.99999", "99999999", "99 99 99 99", "999.99999"},
    };
    for (const RoundTrip& row : table) {
        SCOPED_TRACE(row.text);
        const QString text = QString::fromLatin1(row.text);
        EXPECT_EQ(FrequencyDigits(text).toStdString(), row.digits);
        EXPECT_EQ(CheckFrequencyText(text), FrequencyFit::Fits);
        EXPECT_EQ(FrequencyWireDigits(text).toStdString(), row.digits);

        FrequencyBytes viaDigits{};
        EXPECT_EQ(HexTextToBytes(FrequencyDigits(text), viaDigits), 4);
        EXPECT_EQ(Hex(viaDigits), row.wire);
        const FrequencyBytes encoded = EncodeFrequency(text);
        EXPECT_EQ(Hex(encoded), row.wire);
        EXPECT_EQ(FrequencyText(encoded).toStdString(), row.shown);
    }
}

TEST(FrequencyCodec, ReceivedBytesShowAsTheirHexDigits)
{
    const std::uint8_t notDecimal[] = {0x0A, 0x00, 0x00, 0x00};
    const std::uint8_t allOnes[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t lower[] = {0xab, 0xcd, 0xef, 0x01};
    EXPECT_EQ(FrequencyText(notDecimal), QStringLiteral("0A0.00000"));
    EXPECT_EQ(FrequencyText(allOnes), QStringLiteral("FFF.FFFFF"));
    EXPECT_EQ(FrequencyText(lower), QStringLiteral("ABC.DEF01"));
}

TEST(FrequencyCodec, DigitTextKeepsTheOldCharacterRule)
{
    // The fourth character is dropped whatever it is; nothing is trimmed.
    EXPECT_EQ(FrequencyDigits(QStringLiteral("43")), QStringLiteral("43000000"));
    EXPECT_EQ(FrequencyDigits(QStringLiteral(" 433.925")), QStringLiteral(" 43.9250"));
    EXPECT_EQ(FrequencyDigits(QStringLiteral("433.92   ")), QStringLiteral("43392   "));
    EXPECT_EQ(FrequencyDigits(QStringLiteral("433.925001")), QStringLiteral("433925001"));
    EXPECT_EQ(FrequencyDigits(QString()), QStringLiteral("00000000"));
}

TEST(FrequencyCodec, HexPairsFillOnlyTheirField)
{
    std::array<std::uint8_t, 6> frame{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    std::span<std::uint8_t> field(frame.data() + 1, 4);

    EXPECT_EQ(HexTextToBytes(QStringLiteral("1 2a B3"), field), 3); // blanks go, odd last pair
    EXPECT_EQ(Hex(frame), "EE 12 AB 03 EE EE");

    frame.fill(0xEE);
    // A long digit text fills the field and stops: later pairs, even bad
    // ones, never touch the frame.
    EXPECT_EQ(HexTextToBytes(QStringLiteral("4339250001zz"), field), 4);
    EXPECT_EQ(Hex(frame), "EE 43 39 25 00 EE");
}

TEST(FrequencyCodec, BadHexPairNamesThePairWithItsPrefix)
{
    FrequencyBytes field{0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(ConversionError([&] { HexTextToBytes(FrequencyDigits(QStringLiteral("1000.0")), field); }),
              "'0x0.' is not a valid integer value");
    EXPECT_EQ(Hex(field), "10 EE EE EE"); // the pair before it stays written
    EXPECT_EQ(ConversionError([&] { HexTextToBytes(QStringLiteral("4G"), field); }),
              "'0x4G' is not a valid integer value");
}

TEST(FrequencyCodec, TextsThatAreNotNumbers)
{
    for (const char* text : {"", "abc", "433,925", "433.9MHz", " ", "."}) {
        SCOPED_TRACE(text);
        const std::string expected = std::string("'") + text + "' is not a valid floating point value";
        EXPECT_EQ(ConversionError([&] { CheckFrequencyText(QString::fromLatin1(text)); }), expected);
        EXPECT_EQ(Hex(EncodeFrequency(QString::fromLatin1(text))), "00 00 00 00");
    }
}

struct Judged {
    const char* text;
    FrequencyFit fit;
    const char* wire; // what goes out when it fits
};

TEST(FrequencyCodec, EverySpellingGoesOutAsTheValueItMeansOrIsRefused)
{
    const Judged table[] = {
        // the bounds: 100 is in; 1000 cannot be carried by eight digits
        {"100.00000", FrequencyFit::Fits, "10 00 00 00"},
        {"99.99999", FrequencyFit::OutOfRange, ""},
        {"1000", FrequencyFit::OutOfRange, ""},
        {"1000.0", FrequencyFit::OutOfRange, ""},
        {"1000.00000", FrequencyFit::OutOfRange, ""},
        {"1000.5", FrequencyFit::OutOfRange, ""},
        {"000000", FrequencyFit::OutOfRange, ""},
        {"-433.9", FrequencyFit::OutOfRange, ""},
        // the exact decimal decides, not its nearest double
        {"99.9999999999999999999", FrequencyFit::OutOfRange, ""},
        {"999.999999999999999999", FrequencyFit::TooFine, ""},
        {"1E-999999999999", FrequencyFit::OutOfRange, ""},
        {"0.00000000000000000000000000000433925E+32", FrequencyFit::Fits, "43 39 25 00"},
        // other spellings of an accepted value
        {" 433.925", FrequencyFit::Fits, "43 39 25 00"},
        {"433.92   ", FrequencyFit::Fits, "43 39 20 00"},
        {"0433.9", FrequencyFit::Fits, "43 39 00 00"},
        {"+433.9", FrequencyFit::Fits, "43 39 00 00"},
        {"4.33925E2", FrequencyFit::Fits, "43 39 25 00"},
        {"43392500e-5", FrequencyFit::Fits, "43 39 25 00"},
        {"433.", FrequencyFit::Fits, "43 30 00 00"},
        {"433.9250000", FrequencyFit::Fits, "43 39 25 00"},
        // finer than 10 Hz cannot be sent as typed
        {"433.925001", FrequencyFit::TooFine, ""},
        {"433.9250001", FrequencyFit::TooFine, ""},
    };
    for (const Judged& row : table) {
        SCOPED_TRACE(row.text);
        const QString text = QString::fromLatin1(row.text);
        EXPECT_EQ(CheckFrequencyText(text), row.fit);
        EXPECT_EQ(Hex(EncodeFrequency(text)), row.fit == FrequencyFit::Fits ? row.wire : "00 00 00 00");
    }
}

} // namespace
} // namespace radioset
