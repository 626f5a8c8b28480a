// The serial side under faults: the port vanishing under an open window,
// replies cut and glued at the package gap, bursts beyond a package, a
// flood of packages while a box is open, and line errors in a detection
// sweep. Everything runs through the real window, serial component and
// simulated module.

#include "support/serial_test_support.h"
#include "support/window_fixture.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>

namespace radioset {
namespace {

using test::Wire;
using test::bytes;
using test::WindowFixture;

const QByteArray ChannelFiveReply = bytes({0x55, 0xAA, 0x03, 0x24, 0x05, 0x00, 0x2C});
const QByteArray Acknowledgement = bytes({0x55, 0xAA, 0x02, 0x20, 0x00, 0x22});

// CPU time of this process over a stretch of wall time in the event loop,
// as a fraction of that wall time. A port that errors in a tight loop shows
// up as a fraction near 1.
double CpuShareWhileWaiting(int ms)
{
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = testing::CpuMs();
    QTest::qWait(ms);
    const double wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    return (testing::CpuMs() - cpuStart) / wallMs;
}

std::string WireName(const ::testing::TestParamInfo<Wire>& param)
{
    return param.param == Wire::Pty ? "Pty" : "VirtualLine";
}

std::array<std::uint8_t, 4> Packed(std::uint32_t tensOfHz) { return SimulatedModule::PackedFrequency(tensOfHz); }

// --- the port vanishes -----------------------------------------------------

class PortVanishes : public ::testing::TestWithParam<Wire> {
protected:
    PortVanishes() : fx(std::make_unique<WindowFixture>(GetParam())) {}

    // The adapter is pulled (or the program at the other end of the pty
    // quits): the device is gone, not just closed.
    void pull()
    {
        if (GetParam() == Wire::Pty) {
            fx->module.detach();
        } else {
            fx->line->cut();
            fx->line->unpublish();
        }
    }
    void plugBackIn()
    {
        if (GetParam() == Wire::Pty)
            fx->module.attachPty(WindowFixture::Port);
        else
            fx->line->publish(WindowFixture::Port);
    }

    // After the loss: closed, said so, quiet; an open fails while the port
    // is away and works again once it is back.
    void expectClosedQuietAndReopenable()
    {
        TForm1& w = fx->f();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Button1->text() == QStringLiteral("Open"); }, 2000));
        EXPECT_FALSE(w.ZelCommDevice1->Active());
        EXPECT_LT(CpuShareWhileWaiting(300), 0.3) << "the lost port must not spin";
        EXPECT_TRUE(fx->boxes.texts().isEmpty()) << fx->boxes.texts().join(" | ").toStdString();

        w.Button1->click();
        EXPECT_FALSE(w.ZelCommDevice1->Active());
        EXPECT_EQ(w.Button1->text(), QStringLiteral("Open"));
        ASSERT_EQ(fx->boxes.texts().size(), 1);
        EXPECT_TRUE(fx->boxes.texts().front().startsWith(QStringLiteral("错误类型: ")));
        fx->boxes.clear();

        plugBackIn();
        fx->openPort();
        EXPECT_EQ(w.Button1->text(), QStringLiteral("Closed"));
    }

    std::unique_ptr<WindowFixture> fx;
};

TEST_P(PortVanishes, WhileIdle)
{
    fx->openPort();
    pull();
    expectClosedQuietAndReopenable();
    // The link works as before.
    fx->module.clearReceived();
    fx->f().Button5->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fx->f().ComboBox7->currentIndex() == 3; }, 2000));
}

TEST_P(PortVanishes, InTheMiddleOfASixteenChannelRead)
{
    TForm1& w = fx->f();
    for (std::size_t i = 0; i < 16; ++i)
        fx->module.frequencies()[i] = {Packed(43300000u + 100u * static_cast<std::uint32_t>(i)), Packed(43400000)};
    fx->module.setReplyDelay(60);
    fx->openPort();
    w.Button13->click();
    ASSERT_TRUE(fx->waitForFrames(4));
    pull();
    // Replies still on their way when the port went are lost with it.
    QTest::qWait(200);
    expectClosedQuietAndReopenable();
    EXPECT_GT(w.NextReadChannel, 1);
    EXPECT_LT(w.NextReadChannel, 17) << "the read waits where the port went";
    EXPECT_EQ(w.FindEdit(QStringLiteral("TxEdit16"))->text(), QString());

    // Read again from the start: all sixteen arrive.
    w.Button13->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.NextReadChannel == 17; }, 5000));
    EXPECT_EQ(w.FindEdit(QStringLiteral("TxEdit1"))->text(), QStringLiteral("433.00000"));
    EXPECT_EQ(w.FindEdit(QStringLiteral("TxEdit16"))->text(), QStringLiteral("433.01500"));
    EXPECT_EQ(w.FindEdit(QStringLiteral("RxEdit16"))->text(), QStringLiteral("434.00000"));
    EXPECT_TRUE(fx->boxes.texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Wires, PortVanishes, ::testing::Values(Wire::VirtualLine, Wire::Pty),
                         WireName);

// --- packages cut at the idle gap -------------------------------------------

class Packaging : public ::testing::TestWithParam<Wire> {
protected:
    Packaging() : fx(std::make_unique<WindowFixture>(GetParam())) {}

    void sendInTwoHalves(const QByteArray& frame, int gapMs)
    {
        fx->module.sendRaw(frame.left(3));
        QTimer::singleShot(gapMs, &fx->module, [this, frame] { fx->module.sendRaw(frame.mid(3)); });
    }

    std::unique_ptr<WindowFixture> fx;
};

TEST_P(Packaging, AGapShorterThanThePackageIntervalJoinsAFrameALongerOneBreaksIt)
{
    TForm1& w = fx->f();
    fx->openPort();
    ASSERT_EQ(w.ZelCommDevice1->PackageInterval(), 50);
    const struct {
        int gapMs;
        bool routed;
    } cases[] = {{5, true}, {150, false}};
    for (const auto& c : cases) {
        w.Edit1->clear();
        sendInTwoHalves(ChannelFiveReply, c.gapMs);
        QTest::qWait(c.gapMs + 200);
        EXPECT_EQ(w.Edit1->text(), c.routed ? QStringLiteral("5") : QString()) << "gap " << c.gapMs << " ms";
    }
}

TEST_P(Packaging, BurstBeyondAPackageIsDroppedWithWhatFollowsItWithoutAGap)
{
    TForm1& w = fx->f();
    fx->openPort();
    // 5000 bytes and a valid frame, all without a gap: one package that the
    // component cuts at 4096 bytes, the frame among the bytes it drops.
    fx->module.sendRaw(QByteArray(5000, '\x33') + ChannelFiveReply);
    QTest::qWait(300);
    EXPECT_EQ(w.Edit1->text(), QString());
    EXPECT_EQ(w.ZelCommDevice1->PackagesWaiting(), 0);
    // The next reply after a gap is a package of its own.
    fx->module.sendRaw(ChannelFiveReply);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Edit1->text() == QStringLiteral("5"); }, 2000));
    EXPECT_TRUE(fx->boxes.texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Wires, Packaging, ::testing::Values(Wire::VirtualLine, Wire::Pty),
                         WireName);

// --- a box open while packages keep coming ----------------------------------

class BoxOpen : public ::testing::Test, public WindowFixture {};

TEST_F(BoxOpen, PackagesAndClicksAreHandledWhileABoxIsOpen)
{
    TForm1& w = f();
    openPort();
    int packages = 0;
    QObject::connect(w.ZelCommDevice1, &TZelCommDevice::OnPackage, &w, [&](int type) {
        if (type == TZelCommDevice::NotifyPackage)
            ++packages;
    });
    // The signal-strength stream, one sample each 60 ms: each sample its own
    // package, so a second of it is some fifteen package events.
    module.setRssiInterval(60);
    w.Button17->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return module.rxTestRunning(); }, 2000));

    // The box runs its own loop for a second, like a modal box left open.
    int packagesDuringBox = 0;
    bool clickHandledDuringBox = false;
    const MessageSink previous = SetMessageSink([&](const QString&, const QString&) {
        const int before = packages;
        QTimer::singleShot(100, &w, [&] { w.Button5->click(); }); // read the air rate meanwhile
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        packagesDuringBox = packages - before;
        // (Its reply may share a package with a sample and be dropped; the
        // click itself must have gone through.)
        clickHandledDuringBox = module.receivedFrames().contains(QByteArray::fromHex("55aa0323000026"));
    });
    w.N8->trigger(); // About: a box
    SetMessageSink(previous);

    EXPECT_GE(packagesDuringBox, 5) << packagesDuringBox;
    EXPECT_TRUE(clickHandledDuringBox);
    EXPECT_TRUE(w.Memo1->toPlainText().contains(QStringLiteral("RSSI:")));
    EXPECT_EQ(w.ZelCommDevice1->PackagesWaiting(), 0);
    w.Button18->click(); // stop the test
    QTest::qWait(100);
}

// --- line errors during the detection sweep ---------------------------------

class DetectionUnderLineErrors : public ::testing::Test, public WindowFixture {};

TEST_F(DetectionUnderLineErrors, ErrorsAtWrongSettingsHoldReceptionThenTheSweepFindsTheModule)
{
    TForm1& w = f();
    module.setLineSettings(9600, ptEvenParity);
    openPort(); // 9600, no parity: the sweep starts at index 9
    // Something keeps talking at the module's settings for a while: at ours
    // it arrives garbled, with line errors.
    QTimer noise;
    QObject::connect(&noise, &QTimer::timeout, &module, [&] { module.sendRaw(bytes({0x01, 0x02, 0x03})); });
    noise.start(100);
    QTimer::singleShot(420, &noise, &QTimer::stop);
    bool held = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &w, [&] { held = held || w.ReceiveHold; });
    watch.start(10);

    w.Button2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.RadioDetected == 1; }, 3000));
    EXPECT_TRUE(held) << "the garbled noise raised line errors and held reception";
    EXPECT_EQ(w.Memo1->toPlainText(), QStringList({QStringLiteral("9600  None Detect Radio"),
                                                   QStringLiteral("9600  Odd Detect Radio"),
                                                   QStringLiteral("9600  Even Detect Radio"),
                                                   QStringLiteral("Connect ok")})
                                          .join(u'\n'));
    EXPECT_EQ(w.ComboBox6->currentIndex(), 3);
    EXPECT_EQ(w.ComboBox8->currentIndex(), 2);
    EXPECT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_TRUE(boxes.texts().isEmpty()) << "line errors are never shown to the operator";
}

} // namespace
} // namespace radioset
