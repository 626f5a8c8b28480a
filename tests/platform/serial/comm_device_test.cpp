#include "platform/serial/comm_device.h"

#include "link/frame.h"
#include "platform/exceptions.h"
#include "platform/ports.h"
#include "platform/serial/virtual_line.h"
#include "sim/simulated_module.h"
#include "support/serial_test_support.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <ostream>
#include <vector>

using namespace radioset;
using radioset::testing::Hex;
using radioset::testing::Spin;
using radioset::testing::WaitFor;

namespace {

constexpr int Port = 41;

enum class Wire { Virtual, Pty };

void PrintTo(Wire wire, std::ostream* os)
{
    *os << (wire == Wire::Virtual ? "virtual line" : "pty");
}

std::string WireName(const ::testing::TestParamInfo<Wire>& p)
{
    return p.param == Wire::Virtual ? "VirtualLine" : "Pty";
}

// A device on COM41, with the simulated module at the other end of either a
// virtual line or a real pseudo-terminal.
class Link {
public:
    explicit Link(Wire wire)
    {
        SetPortLinkFolder(folder_.path());
        if (wire == Wire::Virtual) {
            line_ = std::make_unique<VirtualLine>();
            line_->publish(Port);
            module_.attach(*line_);
        } else {
            module_.attachPty(Port);
        }
        device_.SetPortNo(Port);
        QObject::connect(&device_, &TZelCommDevice::OnPackage, [this](int type) { events_.push_back(type); });
    }

    ~Link()
    {
        device_.SetActive(false);
        module_.detach();
        SetPortLinkFolder({});
    }

    // Reads every waiting package.
    std::vector<QByteArray> Drain()
    {
        std::vector<QByteArray> packages;
        std::uint8_t buffer[5000];
        while (int n = device_.ReadPackage(buffer, sizeof buffer))
            packages.emplace_back(reinterpret_cast<const char*>(buffer), n);
        return packages;
    }

    int Count(int type) const { return static_cast<int>(std::count(events_.begin(), events_.end(), type)); }

    QTemporaryDir folder_;
    std::unique_ptr<VirtualLine> line_;
    SimulatedModule module_;
    TZelCommDevice device_;
    std::vector<int> events_;
};

QString OpenError(TZelCommDevice& device)
{
    try {
        device.SetActive(true);
    } catch (const ECommError& e) {
        return e.message();
    }
    return QStringLiteral("(opened)");
}

TEST(TZelCommDevice, StartsClosedWithTheDesignTimeSettings)
{
    TZelCommDevice device;
    EXPECT_EQ(device.PortNo(), 1);
    EXPECT_EQ(device.Baud(), br9600);
    EXPECT_EQ(device.ByteSize(), 8);
    EXPECT_EQ(device.Parity(), ptNoParity);
    EXPECT_EQ(device.StopBits(), sbOneStopBit);
    EXPECT_EQ(device.PackageInterval(), 50);
    EXPECT_FALSE(device.Active());
    std::uint8_t buffer[8];
    EXPECT_EQ(device.ReadPackage(buffer, 8), 0);
    EXPECT_EQ(device.WritePackage(buffer, 8), 0);

    // The window stores these by ordinal.
    EXPECT_EQ(int{br1200}, 3);
    EXPECT_EQ(int{br38400}, 9);
    EXPECT_EQ(int{br256000}, 14);
    EXPECT_EQ(int{ptEvenParity}, 2);
    EXPECT_EQ(int{sbTwoStopBit}, 2);
    const int rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(BaudRateValue(static_cast<TBaudRate>(i)), rates[i]);
}

TEST(TZelCommDevice, PortsThatDoNotExistCannotBeOpened)
{
    QTemporaryDir folder;
    SetPortLinkFolder(folder.path());
    TZelCommDevice device;
    for (int portNo : {0, -3, 77}) {
        device.SetPortNo(portNo);
        EXPECT_EQ(OpenError(device), QStringLiteral("Cannot open COM port")) << portNo;
        EXPECT_FALSE(device.Active());
    }
    // A link left behind by a module that has gone.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/987654"), folder.filePath(QStringLiteral("COM78"))));
    device.SetPortNo(78);
    EXPECT_TRUE(OpenError(device).startsWith(QStringLiteral("Cannot open COM port")));
    SetPortLinkFolder({});
}

class OverBothWires : public ::testing::TestWithParam<Wire> {};

TEST_P(OverBothWires, RefusedSettingsFailTheOpenAndAreKeptForTheNextAttempt)
{
    Link link(GetParam());
    TZelCommDevice& device = link.device_;

    device.SetByteSize(9);
    EXPECT_TRUE(OpenError(device).startsWith(QStringLiteral("Cannot set COM port parameters"))) << OpenError(device).toStdString();
    EXPECT_FALSE(device.Active());
    EXPECT_EQ(device.ByteSize(), 9);

    device.SetByteSize(8);
    device.SetBaud(br19200);
    device.SetActive(true);
    EXPECT_TRUE(device.Active());
    if (link.line_) {
        EXPECT_EQ(link.line_->host().settings().baud, 19200);
    }

    // A second program (here a second device) gets the port refused.
    TZelCommDevice other;
    other.SetPortNo(Port);
    if (GetParam() == Wire::Virtual) {
        EXPECT_EQ(OpenError(other), QStringLiteral("Cannot open COM port: the port is in use by another program (ModemManager, brltty or a terminal program)"));
    } else {
        EXPECT_TRUE(OpenError(other).startsWith(QStringLiteral("Cannot open COM port"))) << OpenError(other).toStdString();
    }
    EXPECT_FALSE(other.Active());
    EXPECT_TRUE(device.Active());
}

TEST(TZelCommDevice, EvenParityIsRefusedOnAPty)
{
    Link link(Wire::Pty);
    link.device_.SetParity(ptEvenParity);
    EXPECT_TRUE(OpenError(link.device_).startsWith(QStringLiteral("Cannot set COM port parameters")));
    EXPECT_FALSE(link.device_.Active());
    link.device_.SetParity(ptNoParity);
    EXPECT_NO_THROW(link.device_.SetActive(true));
}

TEST(TZelCommDevice, WritingAnyLineSettingClosesAnOpenPort)
{
    Link link(Wire::Virtual);
    TZelCommDevice& d = link.device_;
    const std::vector<std::function<void()>> writes = {
        [&] { d.SetPortNo(Port); },         [&] { d.SetBaud(br1200); },
        [&] { d.SetByteSize(8); },          [&] { d.SetParity(ptOddParity); },
        [&] { d.SetStopBits(sbTwoStopBit); }, [&] { d.SetActive(false); },
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        d.SetActive(true);
        ASSERT_TRUE(d.Active());
        writes[i]();
        EXPECT_FALSE(d.Active()) << "write " << i;
    }
    d.SetActive(true);
    const LineSettings host = link.line_->host().settings();
    EXPECT_EQ(host.baud, 1200);
    EXPECT_EQ(host.parity, ptOddParity);
    EXPECT_EQ(host.stopBits, sbTwoStopBit);

    // The gap is not a line setting: it changes without closing.
    d.SetPackageInterval(100);
    EXPECT_TRUE(d.Active());
}

TEST_P(OverBothWires, APackageEndsOnlyAtAnIdleGap)
{
    Link link(GetParam());
    TZelCommDevice& d = link.device_;
    d.SetPackageInterval(100);
    d.SetActive(true);

    const QByteArray a = Hex("55 AA 03 24 05 00 2C");
    const QByteArray b = Hex("55 AA 02 20 00 22");
    const QByteArray c = Hex("55 AA 03 53 02 00 58");
    link.module_.sendRaw(a);
    QTimer::singleShot(10, [&] { link.module_.sendRaw(b); });
    QTimer::singleShot(300, [&] { link.module_.sendRaw(c); });

    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 2; }, 3000));
    const auto packages = link.Drain();
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0], a + b);
    EXPECT_EQ(packages[1], c);
    EXPECT_EQ(link.Count(TZelCommDevice::NotifyLineError), 0);
}

TEST_P(OverBothWires, APackageHoldsAtMost4096Bytes)
{
    Link link(GetParam());
    link.device_.SetActive(true);
    QByteArray burst(5000, '\0');
    for (int i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<char>(i * 7);
    link.module_.sendRaw(burst);

    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 1; }));
    Spin(150);
    const auto packages = link.Drain();
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(packages[0], burst.left(4096));
}

TEST_P(OverBothWires, WrittenPackagesAllReachTheLineInOrder)
{
    Link link(GetParam());
    link.device_.SetActive(true);
    // Far beyond any queue the component might keep: nothing may be dropped.
    constexpr int Frames = 300;
    for (int i = 0; i < Frames; ++i) {
        std::uint8_t frame[10];
        const std::uint8_t payload[] = {static_cast<std::uint8_t>(i), 0, 0, 0};
        const int n = BuildFrame(frame, CmdSetChannel, payload);
        ASSERT_EQ(link.device_.WritePackage(frame, n), n);
    }
    link.module_.setFault(SimulatedModule::Fault::Silent);
    ASSERT_TRUE(WaitFor([&] { return link.module_.receivedFrames().size() == Frames; }, 5000))
        << link.module_.receivedFrames().size();
    for (int i = 0; i < Frames; ++i)
        ASSERT_EQ(static_cast<std::uint8_t>(link.module_.receivedFrames()[i][4]), static_cast<std::uint8_t>(i));
    EXPECT_TRUE(WaitFor([&] { return link.Count(TZelCommDevice::NotifyTxEmpty) >= 1; }));
}

TEST_P(OverBothWires, BytesSentWhileThePortIsClosedAreLost)
{
    Link link(GetParam());
    link.device_.SetActive(true);
    link.device_.SetActive(false);
    link.module_.sendRaw("stale");
    Spin(50);
    link.device_.SetActive(true);
    link.module_.sendRaw("fresh");
    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 1; }));
    Spin(100);
    EXPECT_EQ(link.Drain(), std::vector<QByteArray>{"fresh"});
}

INSTANTIATE_TEST_SUITE_P(Wires, OverBothWires, ::testing::Values(Wire::Virtual, Wire::Pty), WireName);

TEST(TZelCommDevice, SixteenPackagesWaitAndLaterOnesAreLost)
{
    Link link(Wire::Virtual);
    TZelCommDevice& d = link.device_;
    d.SetPackageInterval(5);
    d.SetActive(true);
    // Nobody reads: 18 packages, one byte each, well apart.
    int sent = 0;
    QTimer pacer;
    QObject::connect(&pacer, &QTimer::timeout, [&] {
        if (sent < 18)
            link.module_.sendRaw(QByteArray(1, static_cast<char>(sent++)));
    });
    pacer.start(30);
    ASSERT_TRUE(WaitFor([&] { return sent == 18; }, 3000));
    Spin(60);

    EXPECT_EQ(d.PackagesWaiting(), 16);
    EXPECT_EQ(link.Count(1), 16);
    const auto packages = link.Drain();
    ASSERT_EQ(packages.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(packages[static_cast<std::size_t>(i)], QByteArray(1, static_cast<char>(i)));

    // Room again: the next package is kept.
    link.module_.sendRaw("x");
    ASSERT_TRUE(WaitFor([&] { return d.PackagesWaiting() == 1; }));
}

TEST(TZelCommDevice, ReadPackageCutsALongPackageAndLosesTheRest)
{
    Link link(Wire::Virtual);
    link.device_.SetActive(true);
    link.module_.sendRaw("0123456789");
    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 1; }));
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(link.device_.ReadPackage(buffer, 4), 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), 4), "0123");
    EXPECT_EQ(link.device_.ReadPackage(buffer, 16), 0);

    // Closing throws away what was waiting.
    link.module_.sendRaw("abc");
    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 2; }));
    link.device_.SetActive(false);
    link.device_.SetActive(true);
    EXPECT_EQ(link.device_.ReadPackage(buffer, 16), 0);
}

TEST(TZelCommDevice, DisagreeingSettingsReportALineErrorBeforeTheGarbledPackage)
{
    Link link(Wire::Virtual);
    link.module_.setLineSettings(19200, ptNoParity);
    link.device_.SetActive(true); // 9600
    const QByteArray frame = Hex("55 AA 03 24 05 00 2C");
    link.module_.sendRaw(frame);

    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 1; }));
    ASSERT_GE(link.events_.size(), 2u);
    EXPECT_EQ(link.events_.front(), TZelCommDevice::NotifyLineError);
    const auto packages = link.Drain();
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(packages[0].size(), frame.size());
    EXPECT_FALSE(ParseFrame(packages[0]));

    // At the module's settings the same bytes arrive intact and clean.
    link.device_.SetBaud(br19200);
    link.device_.SetActive(true);
    link.events_.clear();
    link.module_.sendRaw(frame);
    ASSERT_TRUE(WaitFor([&] { return link.Count(1) == 1; }));
    EXPECT_EQ(link.Count(TZelCommDevice::NotifyLineError), 0);
    EXPECT_EQ(link.Drain().at(0), frame);
}

TEST(TZelCommDevice, EventsKeepComingInOrderWhileAHandlerRunsANestedLoop)
{
    Link link(Wire::Virtual);
    TZelCommDevice& d = link.device_;
    d.SetPackageInterval(10);
    d.SetActive(true);

    std::vector<QByteArray> seen;
    int depth = 0;
    int maxDepth = 0;
    QObject::connect(&d, &TZelCommDevice::OnPackage, [&](int type) {
        if (type != 1)
            return;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        std::uint8_t buffer[64];
        const int n = d.ReadPackage(buffer, sizeof buffer);
        seen.emplace_back(reinterpret_cast<const char*>(buffer), n);
        if (seen.size() == 1) {
            // What a modal message box does.
            QEventLoop modal;
            QTimer::singleShot(400, &modal, &QEventLoop::quit);
            modal.exec();
        }
        --depth;
    });
    link.module_.sendRaw("A");
    QTimer::singleShot(60, [&] { link.module_.sendRaw("B"); });
    QTimer::singleShot(120, [&] { link.module_.sendRaw("C"); });

    ASSERT_TRUE(WaitFor([&] { return seen.size() == 3 && depth == 0; }, 3000));
    EXPECT_EQ(seen, (std::vector<QByteArray>{"A", "B", "C"}));
    EXPECT_EQ(maxDepth, 2); // B and C were handled inside A's box
}

TEST(TZelCommDevice, APulledCableClosesThePortOnce)
{
    Link link(Wire::Virtual);
    int lost = 0;
    QObject::connect(&link.device_, &TZelCommDevice::PortLost, [&] { ++lost; });
    link.device_.SetActive(true);
    link.line_->cut();
    EXPECT_FALSE(link.device_.Active());
    ASSERT_TRUE(WaitFor([&] { return lost == 1; }));
    Spin(50);
    EXPECT_EQ(lost, 1);
    // The port can be opened again once it is back.
    EXPECT_NO_THROW(link.device_.SetActive(true));
}

} // namespace
