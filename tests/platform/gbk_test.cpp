#include "platform/gbk.h"

#include <gtest/gtest.h>

namespace radioset {
namespace {

TEST(Gbk, MarksWhatItCannotConvert)
{
    bool ok = true;
    EXPECT_EQ(ToGbk(QStringLiteral("A\U0001F600B"), &ok), QByteArray("A?B")); // no GBK form
    EXPECT_FALSE(ok);

    ok = true;
    EXPECT_EQ(FromGbk(QByteArray("A\xff" "B"), &ok), QStringLiteral("A\uFFFDB")); // 0xFF starts nothing
    EXPECT_FALSE(ok);

    ok = true;
    EXPECT_EQ(FromGbk(QByteArray("AB\xb4"), &ok), QStringLiteral("AB\uFFFD")); // cut in mid-character
    EXPECT_FALSE(ok);
}

TEST(Gbk, ConvertsLongTextsWhole)
{
    const QString text = QStringLiteral("频点").repeated(5000);
    bool ok = false;
    const QByteArray bytes = ToGbk(text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes.size(), 20000);
    EXPECT_EQ(FromGbk(bytes), text);
}

} // namespace
} // namespace radioset
