// The radioset-cli program against the radioset-sim program over a pty, as
// a production line would run them.

#include "platform/ports.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace radioset;

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

class CliProcessTest : public ::testing::Test {
protected:
    // The module at a setting other than the default, so detect must sweep.
    void startSim(const QString& baud = QStringLiteral("19200"))
    {
        sim_.start(QStringLiteral(RADIOSET_SIM), {QStringLiteral("--port"), QStringLiteral("45"), QStringLiteral("--baud"),
                                                  baud, QStringLiteral("--link-folder"), folder_.path()});
        ASSERT_TRUE(sim_.waitForReadyRead(5000)) << sim_.readAllStandardError().toStdString();
    }
    void TearDown() override
    {
        if (sim_.state() != QProcess::NotRunning) {
            sim_.terminate();
            sim_.waitForFinished(5000);
        }
    }

    Result cli(QStringList args)
    {
        args << QStringLiteral("--link-folder") << folder_.path();
        QProcess p;
        p.start(QStringLiteral(RADIOSET_CLI), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QString path(const char* name) const { return folder_.filePath(QLatin1String(name)); }

    QTemporaryDir folder_;
    QProcess sim_;
};

TEST_F(CliProcessTest, DetectThenGetAndSetRoundTrip)
{
    startSim();
    const Result found = cli({"detect", "--port", "COM45"});
    ASSERT_EQ(found.code, 0) << found.err.toStdString();
    EXPECT_EQ(found.out, QStringLiteral("19200 none\n"));
    EXPECT_TRUE(found.err.contains(QLatin1String("trying 9600 none"))) << found.err.toStdString();

    const QStringList line{"--port", "COM45", "--baud", "19200"};
    const Result set = cli(QStringList{"set", "--air-rate", "2400", "--channel", "200", "--power", "10"} + line);
    ASSERT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.isEmpty());

    const Result got = cli(QStringList{"get", "--json"} + line);
    ASSERT_EQ(got.code, 0) << got.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(got.out.toUtf8()).object();
    EXPECT_EQ(o.value(QStringLiteral("air_rate")).toInt(), 2400);
    EXPECT_EQ(o.value(QStringLiteral("channel")).toInt(), 200);
    EXPECT_EQ(o.value(QStringLiteral("power")).toString(), QStringLiteral("10DB"));

    // After a serial-rate change the module answers only at the new rate.
    ASSERT_EQ(cli(QStringList{"set", "--serial-rate", "4800"} + line).code, 0);
    EXPECT_EQ(cli(QStringList{"get", "--timeout", "100", "--retries", "0"} + line).code, 4);
    const Result moved = cli({"get", "--port", "COM45", "--baud", "4800"});
    ASSERT_EQ(moved.code, 0) << moved.err.toStdString();
    EXPECT_EQ(moved.out, QStringLiteral("air-rate 2400\nchannel 200\npower 10DB\n"));
}

TEST_F(CliProcessTest, PlanWriteVerifyThenReadGivesTheSameFile)
{
    startSim(QStringLiteral("9600"));
    QByteArray plan = "[\xb9\xab\xcb\xbe]\r\n\xc3\xfb\xb3\xc6=Kelvorin\r\n[TX]\r\n"; // 公司 / 名称 in GBK
    for (int n = 1; n <= 32; ++n)
        plan += QStringLiteral("TX%1=%2.%3\r\n").arg(n).arg(100 + 27 * n).arg(n * 3119 % 100000, 5, 10, QLatin1Char('0')).toLatin1();
    plan += "[RX]\r\n";
    for (int n = 1; n <= 32; ++n)
        plan += QStringLiteral("RX%1=%2.99990\r\n").arg(n).arg(999 - n).toLatin1();
    {
        QFile f(path("source.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(plan);
    }

    const Result written = cli({"plan", "write", path("source.ini"), "--verify", "--port", "COM45"});
    ASSERT_EQ(written.code, 0) << written.err.toStdString();
    EXPECT_TRUE(written.err.contains(QLatin1String("writing channel 32 of 32")));
    EXPECT_TRUE(written.err.contains(QLatin1String("verified 32 channels")));

    const Result read = cli({"plan", "read", "-o", path("back.ini"), "--port", "COM45"});
    ASSERT_EQ(read.code, 0) << read.err.toStdString();
    QFile back(path("back.ini"));
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), plan);
}

TEST_F(CliProcessTest, HelpListsTheExitCodesAndAMissingPortExitsThree)
{
    const Result help = cli({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* code : {"0  success", "2  bad arguments", "3  port", "4  no answer", "5  bad answers", "6  plan write",
                             "7  the plan file"})
        EXPECT_TRUE(help.out.contains(QLatin1String(code))) << code;

    const Result missing = cli({"get", "--port", "COM45"});
    EXPECT_EQ(missing.code, 3);
    EXPECT_TRUE(missing.err.contains(QLatin1String("COM45: no such port"))) << missing.err.toStdString();
    EXPECT_EQ(cli({"get", "--port", "COM45", "--bogus"}).code, 2);
}

} // namespace
