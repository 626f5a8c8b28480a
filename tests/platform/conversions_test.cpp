#include "platform/conversions.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace radioset {
namespace {

std::string Show(const QString& text)
{
    return "\"" + text.toStdString() + "\"";
}

TEST(StrToInt, AcceptsDecimalAndHexadecimalForms)
{
    const struct {
        QString text;
        int value;
    } cases[] = {
        {"0", 0},
        {"1", 1},
        {"  12", 12},
        {"+7", 7},
        {"-1", -1},
        {"-0", 0},
        {"256", 256},
        {"000000000000000000000300", 300},
        {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"$7E", 0x7E},
        {"x7e", 0x7E},
        {"X7E", 0x7E},
        {"0x7E", 0x7E},
        {"0X7e", 0x7E},
        {" $10", 16},
        {"0x0", 0},
        {"$7FFFFFFF", std::numeric_limits<int>::max()},
        {"$80000000", std::numeric_limits<int>::min()},
        {"$FFFFFFFF", -1},
        {"0x00000000FFFFFFFF", -1},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(StrToInt(c.text), c.value) << Show(c.text);
        } catch (const EConvertError& e) {
            ADD_FAILURE() << Show(c.text) << " refused: " << e.what();
        }
    }
}

TEST(StrToInt, RefusesEverythingElseNamingTheTextAsGiven)
{
    const QString refused[] = {
        "",
        "   ",
        "+",
        "-",
        "12 ",      // nothing may follow the digits
        "1 2",
        "\t12",     // only the space is a blank
        "abc",
        "G1",
        "1.0",
        "1e5",
        "2147483648",
        "-2147483649",
        "99999999999999999999999999",
        "$",
        "x",
        "0x",       // the frame head of an empty edit
        "0x ",
        "0x 7",
        "0x7G",
        "0x-1",
        "0xx1",
        "0x$1",
        "-$10",     // a sign belongs to decimal numbers only
        "+0x10",
        "00x1",
        "$100000000",
        "0x1FFFFFFFF",
        QString::fromUtf8("\xEF\xBC\x91\xEF\xBC\x92"), // fullwidth digits
        QString("12") + QChar(u'\0'),
    };
    for (const QString& text : refused) {
        try {
            const int value = StrToInt(text);
            ADD_FAILURE() << Show(text) << " accepted as " << value;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), "'" + text + "' is not a valid integer value") << Show(text);
        }
    }
}

TEST(StrToFloat, AcceptsTheNumberSyntax)
{
    const struct {
        QString text;
        double value;
    } cases[] = {
        {"433.92500", 433.925},
        {"433.925", 433.925},
        {"433", 433.0},
        {"100", 100.0},
        {"99.99999", 99.99999},
        {"1000.5", 1000.5},
        {"000000", 0.0},
        {"  433.9  ", 433.9},
        {"+433.9", 433.9},
        {"-1.5", -1.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e5", 1e5},
        {"4.33925E2", 433.925},
        {"1E+02", 100.0},
        {"25e-1", 2.5},
        {"1e-400", 0.0}, // too small for double: zero, not an error
        {"0000000000000000000000000000000433.9", 433.9},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << Show(c.text);
        } catch (const EConvertError& e) {
            ADD_FAILURE() << Show(c.text) << " refused: " << e.what();
        }
    }
}

TEST(StrToFloat, RefusesEverythingElseNamingTheTextAsGiven)
{
    const QString refused[] = {
        "",
        "   ",
        "abc",
        "+",
        "-",
        ".",
        "+.",
        "1e",
        "1e+",
        "e5",
        ".e5",
        "1 e5",
        "1.2.3",
        "433,925",   // the point is "." whatever the locale
        "433.9x",
        "\t433.9",
        "inf",
        "nan",
        "0x1p3",
        "1e400",     // beyond double: refused, never an infinity
        "-1e400",
        QString::fromUtf8("\xEF\xBC\x91\xEF\xBC\x90\xEF\xBC\x90"), // fullwidth 100
    };
    for (const QString& text : refused) {
        try {
            const double value = StrToFloat(text);
            ADD_FAILURE() << Show(text) << " accepted as " << value;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), "'" + text + "' is not a valid floating point value") << Show(text);
        }
    }
}

} // namespace
} // namespace radioset
