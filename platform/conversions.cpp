#include "platform/conversions.h"

#include "platform/exceptions.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <clocale>
#include <string>

namespace radioset {

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int HexValue(QChar c)
{
    if (IsDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

bool IsX(QChar c)
{
    return c == u'x' || c == u'X';
}

[[noreturn]] void NotAnInteger(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

[[noreturn]] void NotAFloat(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

// strtod follows LC_NUMERIC, which Qt sets from the environment; the point
// must stay "." whatever the operator's locale says.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

int StrToInt(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;

    bool hex = false;
    if (i < n && (text[i] == u'$' || IsX(text[i]))) {
        hex = true;
        i += 1;
    } else if (i + 1 < n && text[i] == u'0' && IsX(text[i + 1])) {
        hex = true;
        i += 2;
    }

    bool negative = false;
    if (!hex && i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // The magnitude stops growing once past the limit, so any number of
    // digits is read without overflow.
    const std::uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    const std::uint64_t base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    const qsizetype firstDigit = i;
    for (; i < n; ++i) {
        const int d = hex ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (d < 0)
            break;
        magnitude = magnitude * base + static_cast<std::uint64_t>(d);
        if (magnitude > limit)
            NotAnInteger(text);
    }
    if (i == firstDigit || i != n)
        NotAnInteger(text);

    if (hex)
        return static_cast<int>(static_cast<std::uint32_t>(magnitude));
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<int>(negative ? -value : value);
}

double StrToFloat(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    const qsizetype begin = i;

    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        NotAFloat(text);
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        const qsizetype exponentStart = i;
        while (i < n && IsDigit(text[i]))
            ++i;
        if (i == exponentStart)
            NotAFloat(text);
    }
    const qsizetype end = i;
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        NotAFloat(text);

    // The syntax is checked above, so strtod only sees the forms it shares
    // with us (it would also take "inf", "nan" and "0x1p3").
    const std::string number = text.mid(begin, end - begin).toStdString();
    char* parsedEnd = nullptr;
    const double value = strtod_l(number.c_str(), &parsedEnd, CLocale());
    if (parsedEnd != number.c_str() + number.size() || std::isinf(value))
        NotAFloat(text);
    return value;
}

} // namespace radioset
