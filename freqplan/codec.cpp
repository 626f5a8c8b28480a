#include "freqplan/codec.h"

#include "platform/conversions.h"
#include "platform/exceptions.h"

#include <algorithm>
#include <optional>

namespace radioset {

namespace {

// Eight decimal digits of 10 Hz hold 100.00000 up to 999.99999 MHz: the
// lower limit exactly, the upper one (1000 MHz) not at all.
constexpr int WireDigitCount = 8;
static_assert(FreqMinMHz * 100000 == 1e7 && FreqMaxMHz * 100000 == 1e8,
              "the wire's eight digits must span the accepted range");

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

struct Judgement {
    FrequencyFit fit = FrequencyFit::OutOfRange;
    QString digits; // the eight wire digits when it fits
};

// The exact decimal value of a text that StrToFloat has accepted, so its
// syntax is known to be: blanks, sign, digits with a point, exponent, blanks.
Judgement Judge(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    QString mantissa;
    qsizetype fractionDigits = 0;
    while (i < n && IsDigit(text[i]))
        mantissa += text[i++];
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            mantissa += text[i++];
            ++fractionDigits;
        }
    }
    // Saturating: an exponent that large only decides "out of range", and
    // the bound keeps the arithmetic below far from overflow.
    constexpr qint64 ExponentBound = 1'000'000;
    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        while (i < n && IsDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), ExponentBound);
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    qsizetype lead = 0;
    while (lead < mantissa.size() && mantissa[lead] == u'0')
        ++lead;
    mantissa.remove(0, lead);
    if (mantissa.isEmpty() || negative)
        return {}; // zero or below: out of range

    // value = mantissa * 10^scale in units of 10 Hz
    qint64 scale = exponent - fractionDigits + 5;
    qsizetype trail = 0;
    while (mantissa[mantissa.size() - 1 - trail] == u'0')
        ++trail;
    mantissa.chop(trail);
    scale += trail;

    // The integer part has this many digits (the mantissa starts non-zero).
    const qint64 integerDigits = mantissa.size() + scale;
    if (integerDigits != WireDigitCount)
        return {};
    if (scale < 0)
        return {FrequencyFit::TooFine, {}};
    return {FrequencyFit::Fits, mantissa + QString(scale, u'0')};
}

} // namespace

QString FrequencyDigits(const QString& text)
{
    QString digits = text.left(3) + text.mid(4);
    if (digits.size() < WireDigitCount)
        digits += QString(WireDigitCount - digits.size(), u'0');
    return digits;
}

int HexTextToBytes(const QString& digits, std::span<std::uint8_t> destination)
{
    QString compact = digits;
    compact.remove(u' ');
    std::size_t written = 0;
    for (qsizetype at = 0; at < compact.size() && written < destination.size(); at += 2) {
        // StrToInt with the prefix gives the operator's familiar message,
        // naming the pair as "0x..".
        destination[written++] = static_cast<std::uint8_t>(StrToInt(QStringLiteral("0x") + compact.mid(at, 2)));
    }
    return static_cast<int>(written);
}

FrequencyFit CheckFrequencyText(const QString& text)
{
    StrToFloat(text); // the conversion error, and the syntax Judge relies on
    return Judge(text).fit;
}

QString FrequencyWireDigits(const QString& text)
{
    try {
        StrToFloat(text);
    } catch (const EConvertError&) {
        return {};
    }
    return Judge(text).digits;
}

FrequencyBytes EncodeFrequency(const QString& text)
{
    FrequencyBytes bytes{};
    const QString digits = FrequencyWireDigits(text);
    if (digits.size() == WireDigitCount)
        HexTextToBytes(digits, bytes);
    return bytes;
}

QString FrequencyText(std::span<const std::uint8_t, 4> bytes)
{
    QString digits;
    for (std::uint8_t byte : bytes)
        digits += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return digits.left(3) + u'.' + digits.mid(3);
}

} // namespace radioset
