#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace radioset {
namespace {

using test::Wire;
using test::pick;
using test::WindowFixture;


QStringList memoLines(const TForm1& w)
{
    return w.Memo1->toPlainText().split(u'\n');
}

QString attempt(const char* label)
{
    return QString::fromLatin1(label) + QStringLiteral("Detect Radio");
}

// The sweep has stopped once Timer1 is off.
bool waitForSweepEnd(TForm1& w, int ms)
{
    return QTest::qWaitFor([&] { return !w.Timer1->isActive(); }, ms);
}

class Detection : public ::testing::Test, public WindowFixture {};

TEST(DetectionOverPty, ModuleAnswersAtTheClicksOwnSetting)
{
    WindowFixture fx(Wire::Pty);
    TForm1& w = fx.f();
    fx.openPort();
    w.Memo1->AppendLine(QStringLiteral("RSSI:9")); // old lines go
    w.Button2->click();
    ASSERT_TRUE(waitForSweepEnd(w, 3000));
    EXPECT_EQ(memoLines(w), (QStringList{attempt("9600  None "), QStringLiteral("Connect ok")}));
    EXPECT_EQ(fx.module.receivedFrames().size(), 1); // the first tick only stopped the timer
    EXPECT_EQ(fx.module.receivedFrames().front(), QByteArray::fromHex("55aa0427000000 2b"));
    EXPECT_EQ(w.ComboBox6->currentText(), QStringLiteral("9600bps"));
    EXPECT_EQ(w.ComboBox8->currentText(), QStringLiteral("None"));
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Closed"));
    EXPECT_TRUE(fx.boxes.texts().isEmpty());
}

TEST_F(Detection, FoundAtALaterTickWithParity)
{
    TForm1& w = f();
    module.setLineSettings(19200, ptOddParity); // setting 13, four ticks from 9
    openPort();
    w.Button2->click();
    ASSERT_TRUE(waitForSweepEnd(w, 5000));
    EXPECT_EQ(memoLines(w), (QStringList{attempt("9600  None "), attempt("9600  Odd "), attempt("9600  Even "),
                                         attempt("19200  None "), attempt("19200  Odd "),
                                         QStringLiteral("Connect ok")}));
    EXPECT_EQ(w.ComboBox6->currentText(), QStringLiteral("19200bps"));
    EXPECT_EQ(w.ComboBox8->currentText(), QStringLiteral("Odd"));
    EXPECT_EQ(w.ComboBox2->currentIndex(), 4);
    EXPECT_EQ(w.ComboBox4->currentIndex(), 1);
    EXPECT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.ZelCommDevice1->Parity(), ptOddParity);

    // A second reply adds nothing.
    const QString before = w.Memo1->toPlainText();
    module.sendRaw(QByteArray::fromHex("55aa032700002a"));
    QTest::qWait(200);
    EXPECT_EQ(w.Memo1->toPlainText(), before);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Detection, WrapsFromTheLastSettingToTheFirst)
{
    TForm1& w = f();
    module.setLineSettings(1200, ptNoParity);
    pick(w.ComboBox2, 5);
    pick(w.ComboBox4, 2); // 38400 Even, setting 17; the port is open
    w.Button2->click();
    ASSERT_TRUE(waitForSweepEnd(w, 3000));
    EXPECT_EQ(memoLines(w), (QStringList{attempt("38400  Even "), attempt("1200  None "), QStringLiteral("Connect ok")}));
    EXPECT_EQ(w.ZelCommDevice1->Baud(), br1200);
    EXPECT_EQ(w.ZelCommDevice1->PackageInterval(), 100);
}

TEST_F(Detection, ClosedPortOnlyAsksToOpenIt)
{
    TForm1& w = f();
    w.Memo1->AppendLine(QStringLiteral("kept"));
    w.Button2->click();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("COM Err")});
    EXPECT_EQ(w.Memo1->toPlainText(), QStringLiteral("kept"));
    EXPECT_FALSE(w.Timer1->isActive());
}

// A parity list the operator typed into has no selection: the sweep starts
// from the parity the port actually uses, never from a label outside the table.
TEST_F(Detection, StartsFromThePortsRealSettingWhenAListHasNoSelection)
{
    TForm1& w = f();
    module.setFault(SimulatedModule::Fault::Silent);
    pick(w.ComboBox4, 1); // open at Odd
    QTest::keyClicks(w.ComboBox4->lineEdit(), QStringLiteral("q")); // "Oq": no item, parity stays Odd
    ASSERT_EQ(w.ComboBox4->currentIndex(), -1);
    ASSERT_TRUE(w.ZelCommDevice1->Active());
    w.Button2->click();
    EXPECT_EQ(w.SweepIndex, 10u);
    EXPECT_EQ(memoLines(w), QStringList{attempt("9600  Odd ")});
    w.Timer1->stop();
}

TEST_F(Detection, ACommandDuringTheSweepChangesWhatLaterTicksSend)
{
    TForm1& w = f();
    module.setFault(SimulatedModule::Fault::Silent);
    module.setLineSettings(9600, ptEvenParity); // hears setting 11 only, the second tick
    openPort();
    w.Button2->click();
    w.Button5->click(); // read air rate, at 9600 None: unheard
    ASSERT_TRUE(QTest::qWaitFor([&] { return !module.receivedFrames().isEmpty(); }, 3000));
    // The tick re-sent the buffer's first 8 bytes: the 7-byte read and the
    // detect request's last byte after it.
    EXPECT_EQ(module.receivedFrames().front(), QByteArray::fromHex("55aa0323000026"));
    EXPECT_EQ(w.TxBuffer[7], 0x2B);
    w.Timer1->stop();
}

TEST_F(Detection, LanguageOfEachLineIsTheOneCurrentWhenItIsWritten)
{
    TForm1& w = f();
    module.setLineSettings(9600, ptEvenParity);
    openPort();
    w.Button2->click();
    w.N2->trigger();
    ASSERT_TRUE(waitForSweepEnd(w, 3000));
    EXPECT_EQ(memoLines(w), (QStringList{attempt("9600  None "), QStringLiteral("9600  Odd 检测电台"),
                                         QStringLiteral("9600  Even 检测电台"), QStringLiteral("检测到电台")}));
}

} // namespace
} // namespace radioset
