#include "sim/simulated_module.h"

#include "link/frame.h"
#include "platform/ports.h"
#include "platform/serial/comm_device.h"
#include "platform/serial/virtual_line.h"
#include "support/serial_test_support.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

using namespace radioset;
using radioset::testing::Hex;
using radioset::testing::Spin;
using radioset::testing::WaitFor;

namespace {

constexpr int Port = 44;

// The program's side: a device on COM44, the module behind it.
class Bench {
public:
    explicit Bench(bool pty = false)
    {
        SetPortLinkFolder(folder_.path());
        if (pty) {
            module_.attachPty(Port);
        } else {
            line_ = std::make_unique<VirtualLine>();
            line_->publish(Port);
            module_.attach(*line_);
        }
        device_.SetPortNo(Port);
        QObject::connect(&device_, &TZelCommDevice::OnPackage, [this](int type) {
            if (type != 1)
                return;
            std::uint8_t buffer[5000];
            const int n = device_.ReadPackage(buffer, sizeof buffer);
            packages_.emplace_back(reinterpret_cast<const char*>(buffer), n);
        });
    }

    ~Bench()
    {
        device_.SetActive(false);
        module_.detach();
        SetPortLinkFolder({});
    }

    void Open(TBaudRate baud = br9600)
    {
        device_.SetBaud(baud);
        device_.SetActive(true);
    }

    void Send(const QByteArray& bytes)
    {
        device_.WritePackage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
    }

    // Sends a request and returns what came back: the first package, or an
    // empty array when nothing did within quietMs.
    QByteArray Ask(const QByteArray& request, int quietMs = 300)
    {
        packages_.clear();
        Send(request);
        WaitFor([this] { return !packages_.empty(); }, quietMs);
        return packages_.empty() ? QByteArray() : packages_.front();
    }

    QTemporaryDir folder_;
    std::unique_ptr<VirtualLine> line_;
    SimulatedModule module_;
    TZelCommDevice device_;
    std::vector<QByteArray> packages_;
};

struct Exchange {
    const char* name;
    const char* request;
    const char* reply;
    std::function<bool(const SimulatedModule&)> effect;
};

void PrintTo(const Exchange& e, std::ostream* os)
{
    *os << e.name;
}

class Requests : public ::testing::TestWithParam<Exchange> {};

TEST_P(Requests, AreAnsweredAsTheModuleDoes)
{
    const Exchange& e = GetParam();
    Bench bench;
    bench.Open();
    EXPECT_EQ(bench.Ask(Hex(e.request)).toHex(' '), Hex(e.reply).toHex(' '));
    ASSERT_EQ(bench.module_.receivedFrames().size(), 1);
    EXPECT_EQ(bench.module_.receivedFrames().front(), Hex(e.request));
    if (e.effect) {
        EXPECT_TRUE(e.effect(bench.module_));
    }
}

const char* const Ack = "55 AA 02 20 00 22";

INSTANTIATE_TEST_SUITE_P(
    CodeIndex, Requests,
    ::testing::Values(
        Exchange{"Detect", "55 AA 04 27 00 00 00 2B", "55 AA 03 27 00 00 2A", {}},
        Exchange{"ReadAirRate", "55 AA 03 23 00 00 26", "55 AA 03 23 96 00 BC", {}},
        Exchange{"ReadChannel", "55 AA 03 24 00 00 27", "55 AA 03 24 01 00 28", {}},
        Exchange{"ReadPower", "55 AA 03 53 00 00 56", "55 AA 03 53 04 00 5A", {}},
        Exchange{"ReadFrequency1", "55 AA 04 59 01 00 00 5E", "55 AA 0B 59 01 43 00 00 00 43 10 00 00 00 FB", {}},
        Exchange{"ReadFrequency32", "55 AA 04 59 20 00 00 7D", "55 AA 0B 59 20 44 55 00 00 44 65 00 00 01 C6", {}},
        Exchange{"SetAirRate", "55 AA 04 20 05 19 00 42", Ack,
                 [](const SimulatedModule& m) { return m.parameters().airRate == 0x19; }},
        Exchange{"SetChannel255", "55 AA 06 07 FF 00 00 00 01 0C", Ack,
                 [](const SimulatedModule& m) { return m.parameters().channel == 255; }},
        Exchange{"SetPower", "55 AA 03 33 02 00 38", Ack,
                 [](const SimulatedModule& m) { return m.parameters().power == 2; }},
        Exchange{"SetWorkMode", "55 AA 03 81 22 00 A6", Ack,
                 [](const SimulatedModule& m) { return m.parameters().workMode == 0x22; }},
        Exchange{"SetFrameHead", "55 AA 03 82 7E 01 03", Ack,
                 [](const SimulatedModule& m) { return m.parameters().frameHead == 0x7E; }},
        Exchange{"SetFrequency", "55 AA 0B 58 01 43 39 25 00 43 39 25 00 01 A6", "55 AA 02 58 00 5A",
                 [](const SimulatedModule& m) {
                     return m.frequencies()[0] == ChannelFrequency{{0x43, 0x39, 0x25, 0x00}, {0x43, 0x39, 0x25, 0x00}};
                 }},
        Exchange{"CarrierTest", "55 AA 03 67 00 00 6A", Ack,
                 [](const SimulatedModule& m) { return m.testMode() == CmdCarrierTest; }},
        Exchange{"ZeroOneTest", "55 AA 03 69 00 00 6C", Ack,
                 [](const SimulatedModule& m) { return m.testMode() == CmdZeroOneTest; }},
        Exchange{"StopTest", "55 AA 03 68 00 00 6B", Ack, [](const SimulatedModule& m) { return m.testMode() == 0; }},
        Exchange{"TrimUpFine", "55 AA 03 71 00 00 74", Ack, [](const SimulatedModule& m) { return m.parameters().trim == 1; }},
        Exchange{"TrimDownFine", "55 AA 03 72 00 00 75", Ack,
                 [](const SimulatedModule& m) { return m.parameters().trim == -1; }},
        Exchange{"TrimUpCoarse", "55 AA 03 51 0A 00 5E", Ack,
                 [](const SimulatedModule& m) { return m.parameters().trim == 10; }},
        Exchange{"TrimDownCoarse", "55 AA 03 52 0A 00 5F", Ack,
                 [](const SimulatedModule& m) { return m.parameters().trim == -10; }},
        // Unknown codes and channels the plan does not have go unanswered.
        Exchange{"UnknownCode", "55 AA 03 10 00 00 13", "", {}},
        Exchange{"ReadFrequency33", "55 AA 04 59 21 00 00 7E", "", {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(SimulatedModule, WhatIsSetIsReadBack)
{
    Bench bench;
    bench.Open();
    bench.Ask(MakeFrame(CmdSetChannel, {200, 0, 0, 0}));
    EXPECT_EQ(bench.Ask(MakeFrame(CmdReadChannel, {0})), MakeFrame(RspChannel, {200}));
    bench.Ask(MakeFrame(CmdSetPower, {3}));
    EXPECT_EQ(bench.Ask(MakeFrame(CmdReadPower, {0})), MakeFrame(RspPower, {3}));
    bench.Ask(MakeFrame(CmdSetAirRate, {0x05, 0x48}));
    EXPECT_EQ(bench.Ask(MakeFrame(CmdReadAirRate, {0})), MakeFrame(RspAirRate, {0x48}));

    bench.module_.setFrequencyAck(SimulatedModule::FrequencyAck::CmdOk);
    const QByteArray set = Hex("55 AA 0B 58 11 43 39 25 00 43 40 00 00 01 98");
    EXPECT_EQ(bench.Ask(set), Hex(Ack));
    EXPECT_EQ(bench.Ask(MakeFrame(CmdReadFrequency, {0x11, 0x00})), Hex("55 AA 0B 59 11 43 39 25 00 43 40 00 00 01 99"));
}

TEST(SimulatedModule, ANewSerialRateTakesEffectAfterTheAcknowledgement)
{
    Bench bench;
    bench.Open(br9600);
    // 38400 baud, even parity.
    EXPECT_EQ(bench.Ask(MakeFrame(CmdSetSerialRate, {0x37})), Hex(Ack));
    EXPECT_EQ(bench.module_.lineSettings().baud, 38400);
    EXPECT_EQ(bench.module_.lineSettings().parity, ptEvenParity);
    const QByteArray detect = MakeFrame(CmdDetect, {0, 0});
    EXPECT_TRUE(bench.Ask(detect).isEmpty());

    bench.device_.SetParity(ptEvenParity);
    bench.Open(br38400);
    EXPECT_EQ(ParseFrame(bench.Ask(detect))->command, RspDetect);
}

class SettingsMismatch : public ::testing::TestWithParam<bool> {};

TEST_P(SettingsMismatch, TheModuleAnswersOnlyAtItsOwnBaudRate)
{
    Bench bench(GetParam());
    const QByteArray detect = MakeFrame(CmdDetect, {0, 0});
    bench.module_.setLineSettings(4800, ptNoParity);
    bench.Open(br9600);
    EXPECT_TRUE(bench.Ask(detect).isEmpty());
    EXPECT_GT(bench.module_.mismatchedChunks(), 0);
    EXPECT_TRUE(bench.module_.receivedFrames().isEmpty());

    bench.Open(br4800);
    EXPECT_EQ(ParseFrame(bench.Ask(detect))->command, RspDetect);
}

INSTANTIATE_TEST_SUITE_P(Wires, SettingsMismatch, ::testing::Values(false, true),
                         [](const auto& p) { return std::string(p.param ? "Pty" : "VirtualLine"); });

TEST(SimulatedModule, OnAVirtualLineParityMustAgreeToo)
{
    Bench bench;
    bench.module_.setLineSettings(9600, ptOddParity);
    bench.Open(br9600);
    EXPECT_TRUE(bench.Ask(MakeFrame(CmdDetect, {0, 0})).isEmpty());
    bench.device_.SetParity(ptOddParity);
    bench.Open(br9600);
    EXPECT_FALSE(bench.Ask(MakeFrame(CmdDetect, {0, 0})).isEmpty());
}

TEST(SimulatedModule, FindsRequestsInANoisySplitStream)
{
    Bench bench;
    bench.module_.setFault(SimulatedModule::Fault::Silent);
    bench.Open();
    const QByteArray a = MakeFrame(CmdReadChannel, {0});
    const QByteArray b = MakeFrame(CmdSetPower, {2});
    QByteArray broken = MakeFrame(CmdReadPower, {0});
    broken[broken.size() - 1] = 0x00;
    bench.Send(QByteArray("\x55\x13\xAA", 3) + a.left(3));
    Spin(20);
    bench.Send(a.mid(3) + broken + b);
    ASSERT_TRUE(WaitFor([&] { return bench.module_.receivedFrames().size() == 2; }));
    Spin(50);
    EXPECT_EQ(bench.module_.receivedFrames(), (QList<QByteArray>{a, b}));
}

TEST(SimulatedModule, FaultsForTests)
{
    Bench bench;
    bench.Open();
    const QByteArray read = MakeFrame(CmdReadChannel, {0});
    const QByteArray good = MakeFrame(RspChannel, {1});

    bench.module_.setFault(SimulatedModule::Fault::Silent);
    EXPECT_TRUE(bench.Ask(read).isEmpty());

    bench.module_.setFault(SimulatedModule::Fault::WrongChecksum);
    QByteArray reply = bench.Ask(read);
    EXPECT_EQ(reply.left(5), good.left(5));
    EXPECT_FALSE(ParseFrame(reply));

    bench.module_.setFault(SimulatedModule::Fault::Garbage);
    reply = bench.Ask(read);
    EXPECT_EQ(reply.size(), good.size());
    EXPECT_FALSE(ParseFrame(reply));

    bench.module_.setFault(SimulatedModule::Fault::None);
    bench.module_.setReplyDelay(250);
    EXPECT_TRUE(bench.Ask(read, 150).isEmpty());
    EXPECT_TRUE(WaitFor([&] { return !bench.packages_.empty(); }));
    EXPECT_EQ(bench.packages_.front(), good);
}

TEST(SimulatedModule, TheReceiveTestStreamsSignalStrengthUntilStopped)
{
    Bench bench;
    bench.module_.setRssiInterval(100);
    bench.Open();
    EXPECT_EQ(bench.Ask(MakeFrame(CmdRxTest, {0})), Hex(Ack));
    EXPECT_TRUE(bench.module_.rxTestRunning());
    ASSERT_TRUE(WaitFor([&] { return bench.packages_.size() >= 4; }));
    for (std::size_t i = 1; i < bench.packages_.size(); ++i)
        EXPECT_EQ(bench.packages_[i].size(), 1) << "one byte per package at a 50 ms gap";

    bench.Ask(MakeFrame(CmdStopTest, {0}));
    EXPECT_FALSE(bench.module_.rxTestRunning());
    Spin(60);
    bench.packages_.clear();
    Spin(250);
    EXPECT_TRUE(bench.packages_.empty());
}

TEST(SimulatedModule, PublishesItsPtyAsAComPortAndWithdrawsIt)
{
    QTemporaryDir folder;
    SetPortLinkFolder(folder.path());
    {
        SimulatedModule module;
        const QString slave = module.attachPty(45);
        EXPECT_TRUE(slave.startsWith(QStringLiteral("/dev/pts/")));
        const QFileInfo link(folder.filePath(QStringLiteral("COM45")));
        EXPECT_TRUE(link.isSymLink());
        EXPECT_EQ(link.symLinkTarget(), slave);
        EXPECT_EQ(QFileInfo(PortDevice(45)).canonicalFilePath(), slave);
    }
    EXPECT_FALSE(QFileInfo(folder.filePath(QStringLiteral("COM45"))).exists());
    EXPECT_TRUE(PortDevice(45).isEmpty());
    SetPortLinkFolder({});
}

} // namespace
