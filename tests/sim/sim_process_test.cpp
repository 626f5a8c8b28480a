// The radioset-sim program: publishes a port, answers on it, and removes
// its link when terminated.

#include "link/frame.h"
#include "platform/ports.h"
#include "platform/serial/comm_device.h"
#include "support/serial_test_support.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

using namespace radioset;
using radioset::testing::WaitFor;

namespace {

TEST(RadiosetSim, AnswersOnItsPortAndCleansUpOnSignal)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        QTemporaryDir folder;
        SetPortLinkFolder(folder.path());
        QProcess sim;
        sim.start(QStringLiteral(RADIOSET_SIM),
                  {QStringLiteral("--port"), QStringLiteral("46"), QStringLiteral("--link-folder"), folder.path(),
                   QStringLiteral("--baud"), QStringLiteral("19200")});
        ASSERT_TRUE(sim.waitForReadyRead(5000)) << sim.readAllStandardError().toStdString();
        const QString announced = QString::fromLocal8Bit(sim.readLine()).trimmed();
        EXPECT_TRUE(announced.startsWith(QStringLiteral("COM46 "))) << announced.toStdString();
        const QString link = folder.filePath(QStringLiteral("COM46"));
        ASSERT_TRUE(QFileInfo(link).isSymLink());

        TZelCommDevice device;
        device.SetPortNo(46);
        device.SetBaud(br19200);
        device.SetActive(true);
        int packages = 0;
        QObject::connect(&device, &TZelCommDevice::OnPackage, [&](int type) { packages += type == 1; });
        const QByteArray detect = MakeFrame(CmdDetect, {0, 0});
        device.WritePackage(reinterpret_cast<const std::uint8_t*>(detect.constData()), static_cast<int>(detect.size()));
        ASSERT_TRUE(WaitFor([&] { return packages == 1; }, 3000));
        std::uint8_t buffer[64];
        const int n = device.ReadPackage(buffer, sizeof buffer);
        const auto reply = ParseFrame(buffer, n);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->command, RspDetect);
        device.SetActive(false);

        ::kill(static_cast<pid_t>(sim.processId()), sig);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(sim.exitCode(), 0);
        EXPECT_FALSE(QFileInfo(link).isSymLink());
        SetPortLinkFolder({});
    }
}

} // namespace
