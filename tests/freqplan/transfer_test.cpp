#include "freqplan/codec.h"
#include "freqplan/transfer.h"
#include "link/transmit.h"
#include "support/window_fixture.h"

#include <QLineEdit>

// Readable failures for texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace radioset {
namespace {

using test::WindowFixture;
using Ack = SimulatedModule::FrequencyAck;

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray ReadRequest(int channel)
{
    return MakeFrame(CmdReadFrequency, {static_cast<std::uint8_t>(channel), 0x00});
}

// Frequencies in units of 10 Hz, packed by the simulated module's own rule.
QByteArray SetRequest(int channel, std::uint32_t tx, std::uint32_t rx)
{
    const auto t = SimulatedModule::PackedFrequency(tx);
    const auto r = SimulatedModule::PackedFrequency(rx);
    const std::uint8_t payload[] = {static_cast<std::uint8_t>(channel), t[0], t[1], t[2], t[3], r[0], r[1], r[2], r[3]};
    return MakeFrame(CmdSetFrequency, payload);
}

QByteArray Reply(int channel, std::uint32_t tx, std::uint32_t rx)
{
    const auto t = SimulatedModule::PackedFrequency(tx);
    const auto r = SimulatedModule::PackedFrequency(rx);
    const std::uint8_t payload[] = {static_cast<std::uint8_t>(channel), t[0], t[1], t[2], t[3], r[0], r[1], r[2], r[3]};
    return MakeFrame(RspFrequency, payload);
}

QString Shown(const std::array<std::uint8_t, 4>& bytes)
{
    return FrequencyText(bytes);
}

class FrequencyTransfer : public ::testing::Test, public WindowFixture {
protected:
    QLineEdit* tx(int k) { return f().FindEdit(QStringLiteral("TxEdit%1").arg(k)); }
    QLineEdit* rx(int k) { return f().FindEdit(QStringLiteral("RxEdit%1").arg(k)); }

    QStringList halfTexts(int first)
    {
        QStringList texts;
        for (int k = first; k < first + 16; ++k)
            texts << tx(k)->text() << rx(k)->text();
        return texts;
    }

    void fillHalf(int first, const QString& prefix)
    {
        for (int k = first; k < first + 16; ++k) {
            tx(k)->setText(prefix + QString::number(k));
            rx(k)->setText(prefix + QString::number(k));
        }
    }

    QPushButton* readButton(int first) { return first == 1 ? f().Button13 : f().Button15; }
    QPushButton* setButton(int first) { return first == 1 ? f().Button14 : f().Button16; }

    // Once this returns, every frame the window sent before it has reached
    // the module, so "nothing more was sent" can be checked without a clock.
    void fence()
    {
        const qsizetype n = module.receivedFrames().size();
        SendRequest(f(), CmdReadPower, {0x00});
        ASSERT_TRUE(waitForFrames(static_cast<int>(n + 1)));
    }

    QList<QByteArray> framesOf(std::uint8_t command)
    {
        QList<QByteArray> out;
        for (const QByteArray& frame : module.receivedFrames()) {
            if (static_cast<std::uint8_t>(frame[3]) == command)
                out << frame;
        }
        return out;
    }

    QList<int> channelsOf(std::uint8_t command)
    {
        QList<int> out;
        for (const QByteArray& frame : framesOf(command))
            out << static_cast<std::uint8_t>(frame[4]);
        return out;
    }

    QString panel2() { return f().StatusBar1->PanelText(2); }

    // Answers every read request the module has heard, one reply at a time
    // and each with a value of its own, until none is left; returns the
    // number of replies.
    int answerReadsByHand()
    {
        int answered = 0;
        int replies = 0;
        for (;;) {
            fence();
            const QList<QByteArray>& frames = module.receivedFrames();
            while (answered < frames.size() && static_cast<std::uint8_t>(frames[answered][3]) != CmdReadFrequency)
                ++answered;
            if (answered == frames.size())
                return replies;
            const int channel = static_cast<std::uint8_t>(frames[answered++][4]);
            if (channel < 1 || channel > 32) {
                ADD_FAILURE() << "read ran on to channel " << channel;
                return replies;
            }
            const std::uint32_t tens = 20000000u + static_cast<std::uint32_t>(++replies) * 10u;
            module.sendRaw(Reply(channel, tens, tens));
            const QString shown = FrequencyText(SimulatedModule::PackedFrequency(tens));
            if (!QTest::qWaitFor([&] { return tx(channel)->text() == shown; })) {
                ADD_FAILURE() << "reply for channel " << channel << " not shown";
                return replies;
            }
        }
    }
};

class HalfTransfer : public FrequencyTransfer, public ::testing::WithParamInterface<int> {};

TEST_P(HalfTransfer, ReadAsksSixteenChannelsInOrderAndFillsOnlyItsHalf)
{
    const int first = GetParam();
    const int other = first == 1 ? 17 : 1;
    fillHalf(first, QStringLiteral("stale"));
    fillHalf(other, QStringLiteral("mine"));
    const QStringList otherBefore = halfTexts(other);
    openPort();

    readButton(first)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f().NextReadChannel == first + 16; }, 5000))
        << int(f().NextReadChannel) << " " << module.receivedFrames().size();
    fence();

    QList<QByteArray> expected;
    for (int k = first; k < first + 16; ++k)
        expected << ReadRequest(k);
    EXPECT_EQ(framesOf(CmdReadFrequency), expected);
    EXPECT_EQ(expected.front(), first == 1 ? Bytes({0x55, 0xAA, 0x04, 0x59, 0x01, 0x00, 0x00, 0x5E})
                                           : Bytes({0x55, 0xAA, 0x04, 0x59, 0x11, 0x00, 0x00, 0x6E}));
    for (int k = first; k < first + 16; ++k) {
        SCOPED_TRACE(k);
        const ChannelFrequency& plan = module.frequencies()[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(tx(k)->text(), Shown(plan.tx));
        EXPECT_EQ(rx(k)->text(), Shown(plan.rx));
    }
    EXPECT_EQ(halfTexts(other), otherBefore);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Halves, HalfTransfer, ::testing::Values(1, 17),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return param.param == 1 ? "Channels1to16" : "Channels17to32";
                         });

class HalfWrite : public FrequencyTransfer, public ::testing::WithParamInterface<std::tuple<int, Ack>> {};

TEST_P(HalfWrite, WritesSixteenExactFramesAndTheModuleHoldsTheEdits)
{
    const auto [first, ack] = GetParam();
    const int other = first == 1 ? 17 : 1;
    // Texts as typed: short forms, a sign, blanks; the first channel as
    // the protocol example spells it.
    auto txTens = [](int k) { return static_cast<std::uint32_t>((400 + k) * 100000 + 12345); };
    auto rxTens = [](int k) { return static_cast<std::uint32_t>((500 + k) * 100000 + 50000); };
    for (int k = first + 1; k < first + 16; ++k) {
        tx(k)->setText(QStringLiteral("%1.12345").arg(400 + k));
        rx(k)->setText(k % 2 ? QStringLiteral("+%1.5").arg(500 + k) : QStringLiteral(" %1.50 ").arg(500 + k));
    }
    tx(first)->setText(QStringLiteral("433.92500"));
    rx(first)->setText(QStringLiteral("433.92500"));
    fillHalf(other, QStringLiteral("not sent "));
    const auto planBefore = module.frequencies();
    module.setFrequencyAck(ack);
    openPort();

    setButton(first)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f().NextWriteChannel == first + 16; }, 5000));
    EXPECT_FALSE(f().BulkWriteActive);
    EXPECT_EQ(panel2(), ack == Ack::CmdOk ? LocalizedText(StrCmdSucceed)
                                          : QStringLiteral("设置第%1信道频率").arg(first + 15));
    fence();

    QList<QByteArray> expected{SetRequest(first, 43392500, 43392500)};
    for (int k = first + 1; k < first + 16; ++k)
        expected << SetRequest(k, txTens(k), rxTens(k));
    EXPECT_EQ(framesOf(CmdSetFrequency), expected);
    if (first == 1) {
        EXPECT_EQ(expected.front(), Bytes({0x55, 0xAA, 0x0B, 0x58, 0x01, 0x43, 0x39, 0x25, 0x00, 0x43, 0x39, 0x25,
                                           0x00, 0x01, 0xA6}));
    }

    auto plan = planBefore;
    plan[static_cast<std::size_t>(first - 1)] = {SimulatedModule::PackedFrequency(43392500),
                                                 SimulatedModule::PackedFrequency(43392500)};
    for (int k = first + 1; k < first + 16; ++k)
        plan[static_cast<std::size_t>(k - 1)] = {SimulatedModule::PackedFrequency(txTens(k)),
                                                 SimulatedModule::PackedFrequency(rxTens(k))};
    EXPECT_TRUE(module.frequencies() == plan);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(HalvesAndAcks, HalfWrite,
                         ::testing::Combine(::testing::Values(1, 17), ::testing::Values(Ack::CmdOk, Ack::FrequencySet)),
                         [](const ::testing::TestParamInfo<std::tuple<int, Ack>>& param) {
                             return std::string(std::get<0>(param.param) == 1 ? "Channels1to16" : "Channels17to32") +
                                    (std::get<1>(param.param) == Ack::CmdOk ? "AckedCmdOk" : "AckedFrequencySet");
                         });

TEST_F(FrequencyTransfer, WriteStopsAtAChannelThatFailsItsCheckAndStaysStopped)
{
    for (int k = 1; k <= 16; ++k) {
        tx(k)->setText(QStringLiteral("433.92500"));
        rx(k)->setText(QStringLiteral("434.00000"));
    }
    tx(4)->setText(QStringLiteral("000000")); // what a load puts into a missing channel
    module.setFrequencyAck(Ack::CmdOk);
    openPort();

    f().Button14->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts().isEmpty(); }, 5000));
    module.setFault(SimulatedModule::Fault::Silent); // no reply of its own to mix with ours
    fence();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("第4信道发射频率超出允许范围！")});
    EXPECT_EQ(channelsOf(CmdSetFrequency), (QList<int>{1, 2, 3}));
    EXPECT_EQ(f().NextWriteChannel, 4);
    EXPECT_FALSE(f().BulkWriteActive);

    // An acknowledgement of some later command must not carry on with
    // channel 5 behind the operator's back.
    f().StatusBar1->SetPanelText(2, QStringLiteral("-"));
    module.sendRaw(MakeFrame(RspCmdOk, {}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel2() == LocalizedText(StrCmdSucceed); }));
    fence();
    EXPECT_EQ(channelsOf(CmdSetFrequency), (QList<int>{1, 2, 3}));
    EXPECT_EQ(boxes.texts().size(), 1);
}

TEST_F(FrequencyTransfer, TextThatIsNoNumberEndsTheWriteThroughTheErrorBox)
{
    tx(1)->setText(QStringLiteral("abc"));
    rx(1)->setText(QStringLiteral("433.92500"));
    openPort();
    const auto bufferBefore = f().TxBuffer;

    f().Button14->click();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("'abc' is not a valid floating point value.")});
    EXPECT_EQ(f().TxBuffer, bufferBefore);
    EXPECT_FALSE(f().BulkWriteActive);
    fence();
    EXPECT_TRUE(framesOf(CmdSetFrequency).isEmpty());
}

TEST_F(FrequencyTransfer, ClosedPortAtReadOrSet)
{
    fillHalf(17, QStringLiteral("x"));
    f().Button15->click();
    EXPECT_EQ(halfTexts(17), QStringList(32, QString()));
    EXPECT_EQ(f().NextReadChannel, 17);
    EXPECT_EQ(boxes.texts(), QStringList{LocalizedText(StrOpenPortFirst)});

    boxes.clear();
    tx(1)->setText(QStringLiteral("433.92500"));
    rx(1)->setText(QStringLiteral("433.92500"));
    f().Button14->click();
    EXPECT_EQ(boxes.texts(), QStringList{LocalizedText(StrOpenPortFirst)});
    EXPECT_EQ(panel2(), QStringLiteral("设置第1信道频率"));
    // Nothing went out, so no acknowledgement can belong to this write.
    EXPECT_FALSE(f().BulkWriteActive);

    module.setFault(SimulatedModule::Fault::Silent);
    openPort();
    module.sendRaw(MakeFrame(RspCmdOk, {}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel2() == LocalizedText(StrCmdSucceed); }));
    fence();
    EXPECT_TRUE(framesOf(CmdSetFrequency).isEmpty());
}

TEST_F(FrequencyTransfer, RepliesShowWhereTheyBelongAndMoveTheReadOn)
{
    module.setFault(SimulatedModule::Fault::Silent); // the test answers by hand
    openPort();
    f().Button13->click();
    ASSERT_TRUE(waitForFrames(1));
    module.clearReceived();
    tx(6)->setText(QStringLiteral("keep6"));
    rx(6)->setText(QStringLiteral("keep6"));

    // A reply for channel 5 while the read waits for channel 9.
    f().NextReadChannel = 9;
    module.sendRaw(Reply(5, 43392500, 43400000));
    ASSERT_TRUE(waitForFrames(1));
    EXPECT_EQ(module.receivedFrames().back(), Bytes({0x55, 0xAA, 0x04, 0x59, 0x0A, 0x00, 0x00, 0x67}));
    EXPECT_EQ(tx(5)->text(), QStringLiteral("433.92500"));
    EXPECT_EQ(rx(5)->text(), QStringLiteral("434.00000"));

    // Too short to hold both frequencies: nothing past its end is shown,
    // and the read goes on.
    module.sendRaw(MakeFrame(RspFrequency, {0x06, 0x43, 0x39, 0x25}));
    ASSERT_TRUE(waitForFrames(2));
    EXPECT_EQ(module.receivedFrames().back(), ReadRequest(11));
    EXPECT_EQ(tx(6)->text(), QStringLiteral("keep6"));
    EXPECT_EQ(rx(6)->text(), QStringLiteral("keep6"));

    // A channel without edits: nothing shown, the read goes on.
    const QStringList before = halfTexts(1) + halfTexts(17);
    module.sendRaw(Reply(40, 43392500, 43400000));
    ASSERT_TRUE(waitForFrames(3));
    EXPECT_EQ(module.receivedFrames().back(), ReadRequest(12));
    EXPECT_EQ(halfTexts(1) + halfTexts(17), before);

    // The reply that ends the half asks for nothing more; one that comes
    // after it is shown and moves the read on all the same.
    f().NextReadChannel = 16;
    module.sendRaw(Reply(16, 43316000, 43316000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tx(16)->text() == QStringLiteral("433.16000"); }));
    fence();
    EXPECT_EQ(channelsOf(CmdReadFrequency), (QList<int>{10, 11, 12}));
    EXPECT_EQ(f().NextReadChannel, 17);
    module.sendRaw(Reply(3, 43312300, 43345600));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tx(3)->text() == QStringLiteral("433.12300"); }));
    fence();
    EXPECT_EQ(channelsOf(CmdReadFrequency), (QList<int>{10, 11, 12, 18}));
}

// Two requests stay outstanding: the counter meets 17 on one reply and the
// other carries it on through the second half.
TEST_F(FrequencyTransfer, ReadPressedAgainWhileWaitingRunsOnThroughTheOtherHalf)
{
    module.setFault(SimulatedModule::Fault::Silent);
    fillHalf(17, QStringLiteral("mine"));
    openPort();

    f().Button13->click();
    ASSERT_TRUE(waitForFrames(1));
    f().Button13->click(); // the first request is still unanswered
    ASSERT_TRUE(waitForFrames(2));

    // Both requests for channel 1 get their answer: two replies are in
    // flight from then on, each moving the read one channel on.
    const int replies = answerReadsByHand();
    QList<int> expected{1};
    for (int k = 1; k <= 32; ++k)
        if (k != 17)
            expected << k;
    EXPECT_EQ(channelsOf(CmdReadFrequency), expected);
    EXPECT_EQ(replies, 32);
    EXPECT_EQ(f().NextReadChannel, 33);
    EXPECT_FALSE(halfTexts(1).contains(QString()));
}

TEST_F(FrequencyTransfer, SetPressedAgainWhileWaitingEndsWithItsHalf)
{
    module.setFault(SimulatedModule::Fault::Silent);
    for (int k = 1; k <= 32; ++k) {
        tx(k)->setText(QStringLiteral("433.92500"));
        rx(k)->setText(QStringLiteral("434.00000"));
    }
    openPort();

    f().Button14->click();
    ASSERT_TRUE(waitForFrames(1));
    f().Button14->click();
    ASSERT_TRUE(waitForFrames(2));

    int answered = 0;
    for (int guard = 0; guard < 40; ++guard) {
        fence();
        const QList<QByteArray>& frames = module.receivedFrames();
        while (answered < frames.size() && static_cast<std::uint8_t>(frames[answered][3]) != CmdSetFrequency)
            ++answered;
        if (answered == frames.size())
            break;
        ++answered;
        f().StatusBar1->SetPanelText(2, QStringLiteral("-"));
        module.sendRaw(MakeFrame(RspCmdOk, {}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel2() != QStringLiteral("-"); }));
    }
    QList<int> expected{1};
    for (int k = 1; k <= 16; ++k)
        expected << k;
    EXPECT_EQ(channelsOf(CmdSetFrequency), expected);
    EXPECT_EQ(f().NextWriteChannel, 17);
    EXPECT_FALSE(f().BulkWriteActive);
}

} // namespace
} // namespace radioset
