#include "platform/gbk.h"
#include "texts/texts.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace radioset {
namespace {

class LanguageGuard {
public:
    explicit LanguageGuard(int language) : saved_(LanguageIndex) { LanguageIndex = language; }
    ~LanguageGuard() { LanguageIndex = saved_; }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;

private:
    int saved_;
};

TEST(TextTable, ProcessStartsInSimplifiedChinese)
{
    EXPECT_EQ(LanguageIndex, 0);
    EXPECT_EQ(LocalizedText(StrNoComPort), QStringLiteral("无串口"));
}

TEST(TextTable, LookupFollowsTheCurrentLanguage)
{
    const struct {
        int language;
        const char* openPortFirst;
    } cases[] = {{0, "请打开串口"}, {1, "請打開串口"}, {2, "COM Err"}};
    for (const auto& c : cases) {
        LanguageGuard guard(c.language);
        EXPECT_EQ(LocalizedText(StrOpenPortFirst), QString::fromUtf8(c.openPortFirst)) << c.language;
    }
}

// Texts whose exact punctuation and blanks are easy to lose.
TEST(TextTable, KeepsBlanksAndPunctuationExactly)
{
    const struct {
        TextId entry;
        int language;
        const char* text;
    } cases[] = {
        {StrFile, 2, "File "},
        {StrTxFrequency, 2, "TX frequency "},
        {StrRxFrequency, 2, "RX frequency "},
        {StrTransparentMode, 2, "Transparent Forward Mode "},
        {StrStopBits, 2, "Stop Bits;"},
        {StrStopBits, 0, "停止位:"},
        {StrComPort, 1, "端口:"},
        {StrFrameHeader, 2, "Frame Header:"},
        {StrFrameHeader, 0, "帧头"},
        {StrChannels1To16, 0, "1-16频点设置（单位：1MHZ）"},
        {StrChannels17To32, 1, "17-32頻點設置（單位：1MHZ）"},
        {StrChannels17To32, 2, "17-32CH frequency (unit:1MHZ)"},
        {StrTestMode, 2, "Texst mode"},
        {StrClose, 2, "Closed"},
        {StrAppTitle, 1, "電臺設置軟件"},
        {StrOk, 0, "确定"},
        {StrNoComPort, 2, "NO COM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalizedText(c.entry, c.language), QString::fromUtf8(c.text)) << c.entry << "/" << c.language;
}

TEST(TextTable, EveryEntryHasThreeNonEmptyTexts)
{
    ASSERT_EQ(TextTable().size(), 52u);
    for (std::size_t i = 0; i < TextTable().size(); ++i)
        for (int language = 0; language < LanguageCount; ++language)
            EXPECT_FALSE(LocalizedText(static_cast<TextId>(i), language).isEmpty()) << i << "/" << language;
}

// GBK is the system's external encoding: every text, the traditional
// characters included, must survive the trip there and back, and iconv and
// ICU (through Qt) must agree on the bytes.
TEST(TextTable, EveryEntryRoundTripsThroughGbk)
{
    QStringEncoder icu("GBK");
    ASSERT_TRUE(icu.isValid());
    for (std::size_t i = 0; i < TextTable().size(); ++i) {
        for (int language = 0; language < LanguageCount; ++language) {
            const QString text = LocalizedText(static_cast<TextId>(i), language);
            bool encoded = false;
            bool decoded = false;
            const QByteArray gbk = ToGbk(text, &encoded);
            EXPECT_TRUE(encoded) << i << "/" << language;
            EXPECT_EQ(FromGbk(gbk, &decoded), text) << i << "/" << language;
            EXPECT_TRUE(decoded);
            EXPECT_EQ(gbk, QByteArray(icu.encode(text))) << i << "/" << language;
        }
    }
}

TEST(TextTable, TraditionalCharactersUseTheirGbkCodes)
{
    // 確設檢測: GBK, not Big5.
    EXPECT_EQ(ToGbk(QStringLiteral("確設檢測")).toHex(' '), QByteArray("b4 5f d4 4f 99 7a 9c 79"));
}

} // namespace
} // namespace radioset
