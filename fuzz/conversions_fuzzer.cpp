// StrToInt and StrToFloat on arbitrary texts, each checked against a plain
// reading of the syntax it promises: the same texts accepted, the same
// values, and the operator's error text for every refusal.

#include "platform/conversions.h"
#include "platform/exceptions.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

using namespace radioset;

namespace {

[[noreturn]] void Fail(const QString& text, const char* what)
{
    std::fprintf(stderr, "conversion of '%s': %s\n", text.toUtf8().constData(), what);
    std::abort();
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

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

std::optional<std::int32_t> ReferenceInt(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    const QString rest = text.mid(i);
    qsizetype digitsAt = -1;
    if (rest.startsWith(u'$') || rest.startsWith(u'x') || rest.startsWith(u'X'))
        digitsAt = 1;
    else if (rest.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        digitsAt = 2;
    if (digitsAt > 0) {
        if (digitsAt >= rest.size())
            return std::nullopt;
        std::uint64_t value = 0;
        for (qsizetype k = digitsAt; k < rest.size(); ++k) {
            const int d = HexValue(rest[k]);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(d);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    qsizetype k = 0;
    bool negative = false;
    if (k < rest.size() && (rest[k] == u'+' || rest[k] == u'-')) {
        negative = rest[k] == u'-';
        ++k;
    }
    if (k >= rest.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; k < rest.size(); ++k) {
        if (!IsDigit(rest[k]))
            return std::nullopt;
        value = value * 10 + (rest[k].unicode() - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// The number text without its blanks when the syntax holds, else nothing.
std::optional<std::string> FloatSyntax(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    const QString t = text.mid(begin, end - begin);
    qsizetype k = 0;
    if (k < t.size() && (t[k] == u'+' || t[k] == u'-'))
        ++k;
    int mantissaDigits = 0;
    while (k < t.size() && IsDigit(t[k]))
        ++k, ++mantissaDigits;
    if (k < t.size() && t[k] == u'.') {
        ++k;
        while (k < t.size() && IsDigit(t[k]))
            ++k, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (k < t.size() && (t[k] == u'e' || t[k] == u'E')) {
        ++k;
        if (k < t.size() && (t[k] == u'+' || t[k] == u'-'))
            ++k;
        int exponentDigits = 0;
        while (k < t.size() && IsDigit(t[k]))
            ++k, ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (k != t.size())
        return std::nullopt;
    return t.toStdString();
}

void CheckInt(const QString& text)
{
    const std::optional<std::int32_t> expected = ReferenceInt(text);
    try {
        const int value = StrToInt(text);
        if (!expected)
            Fail(text, "StrToInt accepted a text outside its syntax");
        if (value != *expected)
            Fail(text, "StrToInt gave another value");
    } catch (const EConvertError& error) {
        if (expected)
            Fail(text, "StrToInt refused a valid text");
        if (error.message() != QStringLiteral("'%1' is not a valid integer value").arg(text))
            Fail(text, "StrToInt's error text");
    }
}

void CheckFloat(const QString& text)
{
    const std::optional<std::string> syntax = FloatSyntax(text);
    std::optional<double> expected;
    if (syntax) {
        errno = 0;
        const double v = std::strtod(syntax->c_str(), nullptr);
        if (std::isfinite(v))
            expected = v;
    }
    try {
        const double value = StrToFloat(text);
        if (!std::isfinite(value))
            Fail(text, "StrToFloat returned a value that is not finite");
        if (!expected)
            Fail(text, syntax ? "StrToFloat accepted a value beyond double" : "StrToFloat accepted a text outside its syntax");
        // Too small to represent: zero is allowed in place of a subnormal.
        const bool tiny = std::fabs(*expected) < DBL_MIN;
        if (value != *expected && !(tiny && value == 0.0))
            Fail(text, "StrToFloat gave another value");
    } catch (const EConvertError& error) {
        if (expected)
            Fail(text, "StrToFloat refused a valid text");
        if (error.message() != QStringLiteral("'%1' is not a valid floating point value").arg(text))
            Fail(text, "StrToFloat's error text");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        CheckInt(text);
        CheckFloat(text);
    }
    return 0;
}
