#pragma once

// The text and wire forms of a channel frequency, without any window.
//
// Text form: MHz with "." and five decimals, "433.92500". Wire form: the
// eight decimal digits of the frequency in units of 10 Hz, packed two per
// byte, most significant pair first: 43 39 25 00. The digit text
// ("43392500") sits between the two.

#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace radioset {

inline constexpr double FreqMinMHz = 100.0;
inline constexpr double FreqMaxMHz = 1000.0;

// One frequency field of a frame.
using FrequencyBytes = std::array<std::uint8_t, 4>;

// The digit text the operator's tool has always made of a frequency text:
// characters 1..3, then 5 onward (the fourth, the point of the text form,
// is dropped whatever it is), padded with "0" to eight characters. Only
// texts in the text form give eight digits; see FrequencyWireDigits for
// what is sent.
QString FrequencyDigits(const QString& text);

// Blanks removed, the rest read as hexadecimal pairs from the left (an odd
// last character is a pair of its own), written in order to `destination`.
// Returns the number of bytes written. Pairs that do not fit are not read:
// the destination is a fixed-size field of a frame. A pair that is not
// hexadecimal throws EConvertError "'0x<pair>' is not a valid integer
// value"; bytes of earlier pairs stay written.
int HexTextToBytes(const QString& digits, std::span<std::uint8_t> destination);

// Whether a number text names a frequency the wire can carry.
enum class FrequencyFit {
    Fits,       // 100 MHz up to 999.99999 MHz, in whole 10 Hz
    OutOfRange, // below 100 MHz or from 1000 MHz on (eight digits hold no 1000)
    TooFine,    // in range, but finer than the 10 Hz the wire counts in
};

// Reads the text as a number (throwing EConvertError "'<text>' is not a
// valid floating point value" when it is not one) and judges the exact
// decimal value it spells, not its double: "99.9999999999999999999" is
// below 100 although its nearest double is 100.0.
//
// Judging the decimal text rather than a double is what lets any accepted
// spelling ("+433.9", " 433.925 ", "0433.9", "4.33925E2", "433.9250000")
// go out as the frequency it means.
FrequencyFit CheckFrequencyText(const QString& text);

// The eight-digit digit text of an accepted frequency text (one that
// CheckFrequencyText judged Fits): the frequency in units of 10 Hz. Equal
// to FrequencyDigits for every text in the text form. Any other text gives
// an empty result.
QString FrequencyWireDigits(const QString& text);

// The four wire bytes of an accepted frequency text; all zero for any other
// text, so a frame field never holds stale or undefined bytes.
FrequencyBytes EncodeFrequency(const QString& text);

// The text shown for four received bytes: their hexadecimal digits, upper
// case, with a point after the third. Bytes that are not packed decimal are
// shown as they are (0A 00 00 00 gives "0A0.00000"); never fails.
QString FrequencyText(std::span<const std::uint8_t, 4> bytes);

} // namespace radioset
