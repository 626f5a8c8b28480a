#include "freqplan/channel_edits.h"
#include "platform/exceptions.h"
#include "support/window_fixture.h"

#include <QGroupBox>
#include <QLineEdit>

namespace radioset {
namespace {

using test::WindowFixture;

class ChannelEdits : public ::testing::Test, public WindowFixture {
protected:
    QLineEdit* edit(const QString& name) { return f().FindEdit(name); }

    // The texts of all 64 edits, to see that an operation touched no other.
    QStringList allTexts()
    {
        QStringList texts;
        for (int k = 1; k <= 32; ++k)
            texts << edit(QStringLiteral("TxEdit%1").arg(k))->text() << edit(QStringLiteral("RxEdit%1").arg(k))->text();
        return texts;
    }

    // The outcome of a check: "true", "false: <box>" or "error: <text>".
    std::string check(int channel, const char* tx, const char* rx)
    {
        boxes.clear();
        try {
            const bool ok = CheckChannelFrequency(channel, QString::fromUtf8(tx), QString::fromUtf8(rx));
            return (ok ? std::string("true") : std::string("false")) +
                   (boxes.texts().isEmpty() ? "" : ": " + boxes.texts().join(" | ").toStdString());
        } catch (const EConvertError& e) {
            return "error: " + e.message().toStdString() +
                   (boxes.texts().isEmpty() ? "" : " + " + boxes.texts().join(" | ").toStdString());
        }
    }
};

TEST_F(ChannelEdits, ChannelsFindTheirOwnEditsInTheirOwnGroup)
{
    for (int k = 1; k <= 32; ++k) {
        edit(QStringLiteral("TxEdit%1").arg(k))->setText(QStringLiteral("t%1").arg(k));
        edit(QStringLiteral("RxEdit%1").arg(k))->setText(QStringLiteral("r%1").arg(k));
    }
    for (int k : {1, 10, 11, 16, 17, 32}) {
        SCOPED_TRACE(k);
        const auto [tx, rx] = ChannelFrequencyTexts(f(), k);
        EXPECT_EQ(tx, QStringLiteral("t%1").arg(k));
        EXPECT_EQ(rx, QStringLiteral("r%1").arg(k));
    }
    EXPECT_EQ(ChannelGroup(f(), 16), f().GroupBox5);
    EXPECT_EQ(ChannelGroup(f(), 17), f().GroupBox6);
    EXPECT_EQ(TxFrequencyEdit(f(), 16)->parent(), f().GroupBox5);
    EXPECT_EQ(TxFrequencyEdit(f(), 17)->parent(), f().GroupBox6);
    for (int k : {0, 33, 255}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(ChannelFrequencyTexts(f(), k), std::make_pair(QString(), QString()));
    }
}

TEST_F(ChannelEdits, CheckTellsWhichTextFailsAndHow)
{
    struct Row {
        const char* tx;
        const char* rx;
        std::string outcome;
    };
    const std::string txRange = "false: 第3信道发射频率超出允许范围！";
    const std::string rxRange = "false: 第3信道接收频率超出允许范围！";
    const Row table[] = {
        {"433.92500", "433.92500", "true"},
        {"100", "100.00000", "true"},
        {"999.99999", "+4.33925e2", "true"},
        {"", "433.92500", "error: '' is not a valid floating point value"},
        {"abc", "433.92500", "error: 'abc' is not a valid floating point value"},
        {"50", "", "error: '' is not a valid floating point value"}, // both read before either is judged
        {"99.99999", "433.92500", txRange},
        {"433.92500", "1000.5", rxRange},
        {"000000", "000000", txRange}, // only the first failure is shown
        {"1000", "433.92500", txRange}, // the wire holds no 1000 MHz
        {"433.92500", "1000.00000", rxRange},
        {"433.925001", "433.92500", "false: 第3信道发射频率最多五位小数！"},
        {"433.92500", "433.9250001", "false: 第3信道接收频率最多五位小数！"},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(std::string(row.tx) + " / " + row.rx);
        EXPECT_EQ(check(3, row.tx, row.rx), row.outcome);
    }
}

TEST_F(ChannelEdits, ReceivedPairGoesIntoItsChannelOnly)
{
    const std::uint8_t bytes[8] = {0x43, 0x39, 0x25, 0x00, 0x43, 0x40, 0x00, 0x00};
    for (int k : {0, 33}) {
        ShowChannelFrequency(f(), k, bytes);
        EXPECT_EQ(allTexts(), QStringList(64, QString()));
    }

    QStringList expected(64, QString());
    ShowChannelFrequency(f(), 1, bytes);
    expected[0] = QStringLiteral("433.92500");
    expected[1] = QStringLiteral("434.00000");
    EXPECT_EQ(allTexts(), expected);

    const std::uint8_t odd[8] = {0x0A, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    ShowChannelFrequency(f(), 17, odd);
    expected[32] = QStringLiteral("0A0.00000");
    expected[33] = QStringLiteral("FFF.FFFFF");
    EXPECT_EQ(allTexts(), expected);
}

} // namespace
} // namespace radioset
