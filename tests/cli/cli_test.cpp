// radioset-cli's commands run in-process against a simulated module on a
// pty, for what needs the module's faults: silence, bad checksums, a module
// that acknowledges and stores something else, and refusals that must send
// nothing.

#include "cli/cli.h"
#include "link/frame.h"
#include "platform/ports.h"
#include "sim/simulated_module.h"
#include "support/serial_test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

using namespace radioset;
using radioset::testing::Hex;
using radioset::testing::Spin;

namespace {

constexpr int kPort = 47;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        SetPortLinkFolder(folder_.path());
        sim_.attachPty(kPort);
    }
    void TearDown() override
    {
        sim_.detach();
        SetPortLinkFolder({});
    }

    // Runs one command line; the port and a short time-out are added unless
    // the case names its own.
    int run(QStringList args, bool addLine = true)
    {
        if (addLine)
            args << QStringLiteral("--port") << QStringLiteral("COM%1").arg(kPort) << QStringLiteral("--timeout")
                 << QStringLiteral("200");
        out_.clear();
        err_.clear();
        QTextStream out(&out_);
        QTextStream err(&err_);
        return cli::Run(QStringList{QStringLiteral("radioset-cli")} + args, out, err);
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(folder_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // A canonical plan: channel n transmits at 4xx.nnnnn, receives at 5xx.
    static QByteArray Plan()
    {
        QByteArray text = "[\xb9\xab\xcb\xbe]\r\n\xc3\xfb\xb3\xc6=Kelvorin\r\n[TX]\r\n"; // 公司 / 名称 in GBK
        for (int n = 1; n <= 32; ++n)
            text += QStringLiteral("TX%1=%2.%3\r\n").arg(n).arg(400 + n).arg(n * 1111, 5, 10, QLatin1Char('0')).toLatin1();
        text += "[RX]\r\n";
        for (int n = 1; n <= 32; ++n)
            text += QStringLiteral("RX%1=%2.12500\r\n").arg(n).arg(500 + n).toLatin1();
        return text;
    }

    QTemporaryDir folder_;
    SimulatedModule sim_;
    QString out_;
    QString err_;
};

TEST_F(CliTest, BadArgumentsExitTwoAndSendNothing)
{
    const QString plan = writeFile(QStringLiteral("bad.ini"), QByteArray(Plan()).replace("TX5=405.05555", "TX5=abc"));
    const QString range = writeFile(QStringLiteral("range.ini"), QByteArray(Plan()).replace("RX9=509.12500", "RX9=1000"));
    const QString fine = writeFile(QStringLiteral("fine.ini"), QByteArray(Plan()).replace("TX2=402.02222", "TX2=402.022225"));
    // Channel 3 missing: the load's "000000" is no frequency.
    const QString missing = writeFile(QStringLiteral("missing.ini"), QByteArray(Plan()).replace("TX3=403.03333\r\n", ""));
    const struct {
        QStringList args;
        const char* mentions;
    } cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"set"}, "nothing to set"},
        {{"get", "--channel", "5"}, "does not apply"},
        {{"get", "--baud", "9601"}, "--baud"},
        {{"get", "--parity", "mark"}, "--parity"},
        {{"get", "--retries", "-1"}, "--retries"},
        {{"get", "--retries", "11"}, "--retries"},
        {{"set", "--channel", "0"}, "1 to 255"},
        {{"set", "--channel", "256"}, "1 to 255"},
        {{"set", "--channel", "-1"}, "1 to 255"},
        {{"set", "--channel", "abc"}, "not a valid integer"},
        {{"set", "--channel", "5", "--air-rate", "9601"}, "--air-rate"},
        {{"set", "--power", "20"}, "--power"},
        {{"set", "--mode", "fast"}, "--mode"},
        {{"set", "--frame-head", "17E"}, "--frame-head"},
        {{"set", "--frame-head", "G1"}, "--frame-head"},
        {{"set", "--frame-head", ""}, "--frame-head"},
        {{"set", "--serial-rate", "57600"}, "--serial-rate"},
        {{"set", "--channel", "5", "--channel", "6"}, "more than once"},
        {{"plan", "read"}, "-o FILE"},
        {{"plan", "write"}, "one plan file"},
        {{"plan", "write", plan}, "channel 5 transmit frequency 'abc' is not a number"},
        {{"plan", "write", range}, "channel 9 receive frequency '1000' is outside"},
        {{"plan", "write", fine}, "channel 2 transmit frequency '402.022225' is finer"},
        {{"plan", "write", missing}, "channel 3 transmit frequency '000000' is outside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(run(c.args), cli::ExitUsage);
        EXPECT_TRUE(err_.contains(QLatin1String(c.mentions))) << err_.toStdString();
    }
    Spin(100); // anything sent would have reached the module by now
    EXPECT_TRUE(sim_.receivedFrames().isEmpty());
}

TEST_F(CliTest, PortProblemsExitThree)
{
    EXPECT_EQ(run({"get", "--port", "COM48"}, false), cli::ExitPort);
    EXPECT_TRUE(err_.contains(QLatin1String("COM48: no such port"))) << err_.toStdString();
    // A pty cannot carry even parity: the open fails and says why.
    EXPECT_EQ(run({"get", "--parity", "even"}), cli::ExitPort);
    EXPECT_TRUE(err_.contains(QLatin1String("COM47 at 9600 even"))) << err_.toStdString();
}

TEST_F(CliTest, SilentModuleTimesOutAfterItsRetriesAndNamesTheRequest)
{
    sim_.setFault(SimulatedModule::Fault::Silent);
    EXPECT_EQ(run({"get", "--retries", "2"}), cli::ExitNoAnswer);
    EXPECT_TRUE(err_.contains(QLatin1String("read air rate: no answer after 3 attempts of 200 ms"))) << err_.toStdString();
    EXPECT_EQ(sim_.receivedFrames(), QList<QByteArray>(3, Hex("55 AA 03 23 00 00 26")));
    EXPECT_TRUE(out_.isEmpty());

    sim_.clearReceived();
    EXPECT_EQ(run({"plan", "write", writeFile(QStringLiteral("p.ini"), Plan()), "--retries", "0"}), cli::ExitNoAnswer);
    EXPECT_TRUE(err_.contains(QLatin1String("write channel 1 frequencies: no answer after 1 attempt"))) << err_.toStdString();
    EXPECT_EQ(sim_.receivedFrames().size(), 1);

    // The module may already listen at the new setting: never resent.
    sim_.clearReceived();
    EXPECT_EQ(run({"set", "--serial-rate", "19200", "--retries", "3"}), cli::ExitNoAnswer);
    EXPECT_EQ(sim_.receivedFrames().size(), 1);

    EXPECT_EQ(run({"detect", "--port", "47", "--timeout", "20"}, false), cli::ExitNoAnswer);
    EXPECT_TRUE(err_.contains(QLatin1String("no answer at any of the 18 settings"))) << err_.toStdString();
}

TEST_F(CliTest, RepliesThatFailTheirCheckAreBadAnswers)
{
    sim_.setFault(SimulatedModule::Fault::WrongChecksum);
    EXPECT_EQ(run({"set", "--channel", "9", "--retries", "1"}), cli::ExitBadAnswer);
    EXPECT_TRUE(err_.contains(QLatin1String("set channel 9: no answer after 2 attempts of 200 ms; 2 replies failed the frame check")))
        << err_.toStdString();
    sim_.setFault(SimulatedModule::Fault::Garbage);
    EXPECT_EQ(run({"get"}), cli::ExitBadAnswer);
}

TEST_F(CliTest, SetSendsTheWindowsFramesInOrderWithTheLineChangeLast)
{
    EXPECT_EQ(run({"set", "--serial-rate", "38400", "--serial-parity", "even", "--frame-head", "7e", "--mode",
                   "frame-head", "--power", "15dB", "--channel", "255", "--air-rate", "9600bps"}),
              cli::ExitOk)
        << err_.toStdString();
    EXPECT_EQ(sim_.receivedFrames(), (QList<QByteArray>{
                                         Hex("55 AA 04 20 05 96 00 BF"),
                                         Hex("55 AA 06 07 FF 00 00 00 01 0C"),
                                         Hex("55 AA 03 33 04 00 3A"),
                                         Hex("55 AA 03 81 22 00 A6"),
                                         Hex("55 AA 03 82 7E 01 03"),
                                         Hex("55 AA 03 28 37 00 62"),
                                     }));
    EXPECT_EQ(sim_.lineSettings().baud, 38400);

    // Rate alone keeps the line's parity; transparent mode is 0x11.
    sim_.setLineSettings(9600, ptNoParity);
    sim_.clearReceived();
    EXPECT_EQ(run({"set", "--mode", "transparent", "--serial-rate", "1200"}), cli::ExitOk) << err_.toStdString();
    EXPECT_EQ(sim_.receivedFrames(),
              (QList<QByteArray>{Hex("55 AA 03 81 11 00 95"), Hex("55 AA 03 28 03 00 2E")}));
}

TEST_F(CliTest, GetReportsUnknownCodesAsSuch)
{
    sim_.parameters().airRate = 0x77;
    sim_.parameters().power = 0;
    sim_.parameters().channel = 0;
    EXPECT_EQ(run({"get", "--json"}), cli::ExitOk) << err_.toStdString();
    EXPECT_EQ(out_.trimmed(), QStringLiteral(R"({"air_rate":null,"air_rate_code":119,"channel":0,"port":"COM47","power":null,"power_level":0})"));
    EXPECT_EQ(run({"get"}), cli::ExitOk);
    EXPECT_EQ(out_, QStringLiteral("air-rate unknown (code 0x77)\nchannel 0\npower unknown (level 0)\n"));
}

TEST_F(CliTest, VerifyFindsAChannelTheModuleStoredWrongly)
{
    // The module acknowledges channel 3 but keeps another receive frequency.
    QObject::connect(&sim_, &SimulatedModule::replied, &sim_, [this] {
        const QByteArray& last = sim_.receivedFrames().constLast();
        if (static_cast<std::uint8_t>(last.at(3)) == CmdSetFrequency && last.at(4) == 3)
            sim_.frequencies()[2].rx = SimulatedModule::PackedFrequency(43392500);
    });
    EXPECT_EQ(run({"plan", "write", "--verify", writeFile(QStringLiteral("p.ini"), Plan())}), cli::ExitMismatch);
    EXPECT_TRUE(err_.endsWith(QLatin1String("verify failed:\n  channel 3 receive: wrote 503.12500, module holds 433.92500\n")))
        << err_.toStdString();
}

TEST_F(CliTest, PlanReadIntoAFileThatCannotBeWrittenExitsSeven)
{
    EXPECT_EQ(run({"plan", "read", "-o", folder_.filePath(QStringLiteral("no/such/folder/p.ini"))}), cli::ExitFile);
    EXPECT_TRUE(err_.contains(QLatin1String("Unable to write to"))) << err_.toStdString();
    EXPECT_EQ(run({"plan", "write", folder_.filePath(QStringLiteral("absent.ini"))}), cli::ExitFile);
}

} // namespace
