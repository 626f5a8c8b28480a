// Real pseudo-terminals, other processes and CPU measurements: slower than
// the rest, labelled "slow".

#include "platform/serial/comm_device.h"

#include "platform/exceptions.h"
#include "platform/ports.h"
#include "sim/simulated_module.h"
#include "support/serial_test_support.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

using namespace radioset;
using radioset::testing::CpuMs;
using radioset::testing::Spin;
using radioset::testing::WaitFor;

namespace {

constexpr int Port = 42;

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        SetPortLinkFolder(folder_.path());
        slave_ = module_.attachPty(Port);
        device_.SetPortNo(Port);
    }
    void TearDown() override
    {
        device_.SetActive(false);
        module_.detach();
        SetPortLinkFolder({});
    }

    // Share of one core this process used while the event loop ran for ms.
    double CpuShareOver(int ms)
    {
        QElapsedTimer wall;
        const double cpuBefore = CpuMs();
        wall.start();
        Spin(ms);
        return (CpuMs() - cpuBefore) / static_cast<double>(wall.elapsed());
    }

    QTemporaryDir folder_;
    SimulatedModule module_;
    QString slave_;
    TZelCommDevice device_;
};

TEST_F(PtyPort, AnOpenSilentPortCostsNoCpu)
{
    device_.SetActive(true);
    EXPECT_LT(CpuShareOver(300), 0.05);
}

TEST_F(PtyPort, APortThatVanishesIsClosedOnceWithoutSpinning)
{
    int lost = 0;
    int packages = 0;
    QObject::connect(&device_, &TZelCommDevice::PortLost, [&] { ++lost; });
    QObject::connect(&device_, &TZelCommDevice::OnPackage, [&](int) { ++packages; });
    device_.SetActive(true);

    module_.detach(); // the pty master closes under the open port
    ASSERT_TRUE(WaitFor([&] { return lost == 1; }));
    EXPECT_FALSE(device_.Active());

    EXPECT_LT(CpuShareOver(300), 0.2);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(packages, 0);
    std::uint8_t buffer[8];
    EXPECT_EQ(device_.ReadPackage(buffer, 8), 0);
    EXPECT_EQ(device_.WritePackage(buffer, 8), 0);
    EXPECT_THROW(device_.SetActive(true), ECommError);
}

TEST_F(PtyPort, APortHeldByAnotherProgramCannotBeOpened)
{
    QProcess holder;
    holder.start(QStringLiteral(PORT_HOLDER), {slave_});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readLine().trimmed(), "ready");

    try {
        device_.SetActive(true);
        ADD_FAILURE() << "opened a port held by another program";
    } catch (const ECommError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open COM port: the port is in use by another program (ModemManager, brltty or a terminal program)"));
    }
    EXPECT_FALSE(device_.Active());

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_NO_THROW(device_.SetActive(true));
}

} // namespace
