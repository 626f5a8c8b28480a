#include "link/dispatch.h"
#include "link/transmit.h"
#include "support/serial_test_support.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QTimer>

namespace radioset {
namespace {

using test::Wire;
using test::pick;
using test::bytes;
using test::WindowFixture;

class SerialLink : public ::testing::Test, public WindowFixture {};

TEST_F(SerialLink, OpenAndCloseFollowTheButton)
{
    TForm1& w = f();
    w.Button1->click();
    EXPECT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Closed"));
    w.Button1->click();
    EXPECT_FALSE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Open"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(SerialLink, LineSettingChangeReopensWithItsPackageGap)
{
    TForm1& w = f();
    pick(w.ComboBox2, 0); // 1200, port was closed
    ASSERT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.ZelCommDevice1->Baud(), br1200);
    EXPECT_EQ(w.ZelCommDevice1->PackageInterval(), 100);
    EXPECT_EQ(line->host().settings().baud, 1200);

    pick(w.ComboBox4, 2);
    pick(w.ComboBox5, 1);
    pick(w.ComboBox3, 0);
    pick(w.ComboBox2, 3);
    ASSERT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.ZelCommDevice1->PackageInterval(), 50);
    const LineSettings expected{9600, 7, ptEvenParity, sbTwoStopBit};
    EXPECT_EQ(line->host().settings(), expected);
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Closed"));
}

TEST_F(SerialLink, TypedTextThatBeginsNoItemKeepsTheSetting)
{
    TForm1& w = f();
    pick(w.ComboBox2, 1); // 2400
    QTest::keyClicks(w.ComboBox2->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(w.ComboBox2->currentIndex(), -1);
    EXPECT_TRUE(w.ZelCommDevice1->Active()); // closed and reopened all the same
    EXPECT_EQ(w.ZelCommDevice1->Baud(), br2400);
}

TEST_F(SerialLink, NewPortClosesAndStaysClosed)
{
    TForm1& w = f();
    openPort();
    w.ComboBox1->addItem(QStringLiteral("COM9"));
    pick(w.ComboBox1, 1);
    EXPECT_FALSE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.ZelCommDevice1->PortNo(), 9);
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Open"));

    // A typed name that begins no port leaves port number 0: the open fails.
    w.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(w.ComboBox1->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(w.ZelCommDevice1->PortNo(), 0);
    w.Button1->click();
    EXPECT_FALSE(w.ZelCommDevice1->Active());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().front().startsWith(QStringLiteral("错误类型: Cannot open COM port")))
        << boxes.texts().front().toStdString();
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Open"));
}

TEST_F(SerialLink, RefusedSettingsLeaveThePortClosedWithTheReason)
{
    TForm1& w = f();
    openPort();
    pick(w.ComboBox3, 2); // 9 data bits: no such thing on Linux
    EXPECT_FALSE(w.ZelCommDevice1->Active());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().front().startsWith(QStringLiteral("错误类型: Cannot set COM port parameters")))
        << boxes.texts().front().toStdString();
    EXPECT_EQ(w.Button1->text(), QStringLiteral("Open"));
    EXPECT_EQ(w.ZelCommDevice1->ByteSize(), 9); // kept for the next attempt
}

TEST_F(SerialLink, VanishedPortClosesOnceAndTheCaptionTellsTheTruth)
{
    TForm1& w = f();
    openPort();
    line->cut();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Button1->text() == QStringLiteral("Open"); }, 2000));
    EXPECT_FALSE(w.ZelCommDevice1->Active());
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(SerialLink, LanguageSwitchKeepsThePortStateOnTheButton)
{
    TForm1& w = f();
    openPort();
    w.N3->trigger();
    EXPECT_EQ(w.Button1->text(), QStringLiteral("關閉"));
    w.Button1->click();
    EXPECT_EQ(w.Button1->text(), QStringLiteral("打開"));
}

class Transmit : public ::testing::Test, public WindowFixture {};

TEST_F(Transmit, ClosedPortShowsOneMessageAndSendsNothing)
{
    TForm1& w = f();
    w.StatusBar1->SetPanelText(2, QStringLiteral("before"));
    SendRequest(w, 0x23, {0x00});
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("COM Err")});
    EXPECT_EQ(w.StatusBar1->PanelText(2), QStringLiteral("before"));
    w.N2->trigger();
    SendRequest(w, 0x23, {0x00});
    EXPECT_EQ(boxes.texts().last(), QStringLiteral("请打开串口"));
    QTest::qWait(50);
    EXPECT_TRUE(module.receivedFrames().isEmpty());
    // The frame stays built in the buffer.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(w.TxBuffer.data()), 7), bytes({0x55, 0xAA, 0x03, 0x23, 0x00, 0x00, 0x26}));
}

TEST_F(Transmit, FramesGoOutByteExactAndTheBufferIsNeverCleared)
{
    TForm1& w = f();
    openPort();
    w.StatusBar1->SetPanelText(2, QStringLiteral("old"));
    SendRequest(w, 0x27, {0x00, 0x00});
    EXPECT_EQ(w.StatusBar1->PanelText(2), QStringLiteral(" "));
    SendRequest(w, 0x07, {0xFF, 0x00, 0x00, 0x00}); // the sum carries into the high byte
    SendRequest(w, 0x24, {0x00});
    ASSERT_TRUE(waitForFrames(3));
    EXPECT_EQ(module.receivedFrames().at(0), bytes({0x55, 0xAA, 0x04, 0x27, 0x00, 0x00, 0x00, 0x2B}));
    EXPECT_EQ(module.receivedFrames().at(1), bytes({0x55, 0xAA, 0x06, 0x07, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x0C}));
    EXPECT_EQ(module.receivedFrames().at(2), bytes({0x55, 0xAA, 0x03, 0x24, 0x00, 0x00, 0x27}));
    // Positions past the 7-byte frame keep what the 10-byte one left.
    EXPECT_EQ(w.TxBuffer[7], 0x00);
    EXPECT_EQ(w.TxBuffer[8], 0x01);
    EXPECT_EQ(w.TxBuffer[9], 0x0C);
}

TEST(TransmitOverPty, FramesReachTheModuleOverARealPseudoTerminal)
{
    WindowFixture fixture(Wire::Pty);
    fixture.openPort();
    SendRequest(fixture.f(), 0x53, {0x00});
    ASSERT_TRUE(fixture.waitForFrames(1)) << fixture.module.mismatchedChunks() << " " << fixture.module.slavePath().toStdString();
    EXPECT_EQ(fixture.module.receivedFrames().front(), bytes({0x55, 0xAA, 0x03, 0x53, 0x00, 0x00, 0x56}));
    // The module's acknowledgement travels back through the same layer, in
    // a package of its own: after the gap that ends the power reply.
    QTest::qWait(150);
    fixture.module.sendRaw(bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixture.f().StatusBar1->PanelText(2) == QStringLiteral("Cmd succeed"); }, 2000));

    // An open, silent port costs no CPU.
    const double before = testing::CpuMs();
    QTest::qWait(300);
    EXPECT_LT(testing::CpuMs() - before, 300 * 0.2);
}

class Dispatch : public ::testing::Test, public WindowFixture {
protected:
    void dispatch(const QByteArray& package)
    {
        DispatchResponse(f(), reinterpret_cast<const std::uint8_t*>(package.constData()), static_cast<int>(package.size()));
    }
};

TEST_F(Dispatch, OnlyExactlyOneValidFrameIsRouted)
{
    const struct {
        const char* what;
        QByteArray package;
        bool acknowledged;
    } cases[] = {
        {"acknowledgement", bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}), true},
        {"wrong checksum", bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x23}), false},
        {"checksum bytes swapped", bytes({0x55, 0xAA, 0x02, 0x20, 0x22, 0x00}), false},
        {"trailing byte", bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22, 0x00}), false},
        {"two frames", bytes({0x55, 0xAA, 0x03, 0x24, 0x05, 0x00, 0x2C, 0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}), false},
        {"wrong head", bytes({0x55, 0xAB, 0x02, 0x20, 0x00, 0x22}), false},
        {"one byte", bytes({0x55}), false},
        {"minimal frame, no route", bytes({0x55, 0xAA, 0x00, 0x00}), false},
        {"5-byte frame, no route", bytes({0x55, 0xAA, 0x01, 0x00, 0x01}), false},
        {"unknown code", QByteArray::fromHex("55aa03990000 9c"), false},
    };
    for (const auto& c : cases) {
        f().StatusBar1->SetPanelText(2, QStringLiteral(" "));
        dispatch(c.package);
        EXPECT_EQ(f().StatusBar1->PanelText(2) == QStringLiteral("Cmd succeed"), c.acknowledged) << c.what;
    }
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Dispatch, SignalStrengthDumpShowsEveryByteValidOrNot)
{
    f().RssiDumpOn = true;
    dispatch(bytes({0x01, 0x02, 0xBB}));
    EXPECT_EQ(f().Memo1->toPlainText(), QStringLiteral("RSSI:1\nRSSI:2\nRSSI:187"));
    dispatch(bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}));
    EXPECT_EQ(f().StatusBar1->PanelText(2), QStringLiteral("Cmd succeed")); // dumped and routed
    EXPECT_TRUE(f().Memo1->toPlainText().endsWith(QStringLiteral("RSSI:0\nRSSI:34")));
}

TEST_F(Dispatch, LineErrorHoldsReceptionUntilThreeHundredQuietMilliseconds)
{
    TForm1& w = f();
    openPort();
    const QByteArray ack = bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22});

    w.ZelCommDevice1Package(w.ZelCommDevice1, TZelCommDevice::NotifyLineError);
    EXPECT_TRUE(w.ReceiveHold);
    EXPECT_EQ(w.Timer2->interval(), 300);
    QTest::qWait(100);
    module.sendRaw(ack); // its package event comes within the hold
    QTest::qWait(150);
    EXPECT_NE(w.StatusBar1->PanelText(2), QStringLiteral("Cmd succeed"));
    EXPECT_TRUE(w.ReceiveHold);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.ReceiveHold; }, 1000));
    EXPECT_FALSE(w.Timer2->isActive());
    module.sendRaw(ack);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusBar1->PanelText(2) == QStringLiteral("Cmd succeed"); }, 1000));
}

TEST_F(Dispatch, SettingsThatDisagreeRaiseALineErrorAndTheHold)
{
    TForm1& w = f();
    module.setLineSettings(9600, ptEvenParity);
    openPort(); // we are at no parity
    module.sendRaw(bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ReceiveHold; }, 1000));
    EXPECT_NE(w.StatusBar1->PanelText(2), QStringLiteral("Cmd succeed"));
}

// Replies that do not arrive as exactly one frame in one package change nothing.
TEST_F(Dispatch, BrokenRepliesFromTheModuleAreDropped)
{
    TForm1& w = f();
    openPort();
    const struct {
        SimulatedModule::Fault fault;
        bool shown;
    } cases[] = {
        {SimulatedModule::Fault::WrongChecksum, false},
        {SimulatedModule::Fault::Garbage, false},
        {SimulatedModule::Fault::Split, false},
        {SimulatedModule::Fault::Merged, false},
        {SimulatedModule::Fault::None, true},
    };
    for (const auto& c : cases) {
        module.setFault(c.fault);
        w.Button5->click(); // read the air rate: clears the list, the reply selects 9600bps
        QTest::qWait(SimulatedModule::SplitGapMs + 150);
        EXPECT_EQ(w.ComboBox7->currentIndex(), c.shown ? 3 : -1) << static_cast<int>(c.fault);
    }
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Dispatch, OversizedPackageIsIgnoredAndTheNextOneHandled)
{
    TForm1& w = f();
    openPort();
    module.sendRaw(QByteArray(1200, '\x55'));
    QTest::qWait(150);
    module.sendRaw(bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusBar1->PanelText(2) == QStringLiteral("Cmd succeed"); }, 2000));
}

TEST_F(Dispatch, NotificationWithoutAPackageOnlyRestartsTheGuard)
{
    TForm1& w = f();
    openPort();
    w.StatusBar1->SetPanelText(2, QStringLiteral("as it was"));
    w.ZelCommDevice1Package(w.ZelCommDevice1, TZelCommDevice::NotifyTxEmpty);
    EXPECT_TRUE(w.Timer2->isActive());
    EXPECT_EQ(w.Timer2->interval(), 300);
    EXPECT_FALSE(w.ReceiveHold);
    EXPECT_EQ(w.StatusBar1->PanelText(2), QStringLiteral("as it was"));
}

TEST_F(Dispatch, LongSignalStrengthDumpKeepsTheNewestSamples)
{
    TForm1& w = f();
    w.RssiDumpOn = true;
    for (int i = 0; i < 1500; ++i) {
        const std::uint8_t sample = static_cast<std::uint8_t>(i % 200);
        DispatchResponse(w, &sample, 1);
    }
    EXPECT_LE(w.Memo1->Length(), 5000);
    EXPECT_TRUE(w.Memo1->toPlainText().endsWith(QStringLiteral("RSSI:98\nRSSI:99")));
}

} // namespace
} // namespace radioset
