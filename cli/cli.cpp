#include "cli/cli.h"

#include "freqplan/codec.h"
#include "freqplan/plan_format.h"
#include "link/frame.h"
#include "module/codes.h"
#include "platform/conversions.h"
#include "platform/exceptions.h"
#include "platform/inifile.h"
#include "platform/ports.h"
#include "platform/serial/comm_device.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace radioset::cli {

namespace {

// A failure that ends the command with its exit code.
struct Failure {
    int code;
    QString message;
};

constexpr std::array<TBaudRate, 6> kBaudRates{br1200, br2400, br4800, br9600, br19200, br38400};
constexpr std::array<TParity, 3> kParities{ptNoParity, ptOddParity, ptEvenParity};
const std::array<QString, 3> kParityNames{QStringLiteral("none"), QStringLiteral("odd"), QStringLiteral("even")};

constexpr int kDefaultTimeoutMs = 1000;
// The window gives each setting of its sweep one tick of this length.
constexpr int kDetectWaitMs = 500;
constexpr int kDefaultRetries = 2;

const QString kHelp = QStringLiteral(R"(Usage: radioset-cli COMMAND [options]

Configures the serial data radio module from scripts and production lines.

Commands:
  ports                          list the COM ports and their devices
  detect --port COMn             try the 18 line settings (1200..38400 baud,
                                 none/odd/even) from --baud/--parity on;
                                 prints "BAUD PARITY" of the one that answers
  get --port COMn                read air rate, working channel, power level
      [--json]                   ... as one JSON object
  set --port COMn OPTIONS        set, in this order, any of:
      --air-rate RATE            1200|2400|4800|9600|19200|38400
      --channel N                1..255
      --power DB                 0|5|10|15 (dB, "DB" suffix allowed)
      --mode MODE                transparent|frame-head
      --frame-head HH            one or two hexadecimal digits
      --serial-rate RATE         the module's own baud rate, sent last; the
      --serial-parity PARITY     module then listens at the new setting only
                                 (each defaults to the current --baud/--parity)
  plan read --port COMn -o FILE  read all 32 channels into an INI plan file
  plan write --port COMn FILE    write all 32 channels of an INI plan file;
      [--verify]                 then read them back and compare

Line options (every command that talks to the module):
  --port COMn                    the port (COMn or n)
  --baud RATE                    1200|2400|4800|9600|19200|38400 (default 9600)
  --parity PARITY                none|odd|even (default none)
  --timeout MS                   wait for each answer (default 1000; detect 500)
  --retries N                    resend an unanswered request up to N times
                                 (default 2; never for --serial-rate)
  --link-folder DIR              folder of COMn links (default
                                 ~/.local/share/radioset/ports)
  --help                         this text

Progress and errors go to stderr, results to stdout.

Exit codes:
  0  success
  1  unexpected internal error
  2  bad arguments or bad plan file contents; nothing was sent
  3  port not found, cannot be opened, or lost
  4  no answer: the module stayed silent through time-outs and retries
     (detect: no setting answered)
  5  bad answers: replies came, but none passed the frame check or was the
     expected answer (often a wrong baud rate or parity)
  6  plan write --verify: the module's plan differs from the file
  7  the plan file cannot be read or written
)");

[[noreturn]] void Usage(const QString& message)
{
    throw Failure{ExitUsage, message};
}

// --- argument values ---------------------------------------------------

int RateIndex(const QString& option, const QString& text)
{
    QString t = text.trimmed().toLower();
    if (t.endsWith(QLatin1String("bps")))
        t.chop(3);
    bool ok = false;
    const int rate = t.toInt(&ok);
    for (std::size_t i = 0; ok && i < kModuleRates.size(); ++i)
        if (kModuleRates[i] == rate)
            return static_cast<int>(i);
    Usage(QStringLiteral("--%1 '%2': expected 1200, 2400, 4800, 9600, 19200 or 38400").arg(option, text));
}

int ParityIndex(const QString& option, const QString& text)
{
    const QString t = text.trimmed().toLower();
    for (std::size_t i = 0; i < kParityNames.size(); ++i)
        if (t == kParityNames[i] || t == kParityNames[i].left(1))
            return static_cast<int>(i);
    Usage(QStringLiteral("--%1 '%2': expected none, odd or even").arg(option, text));
}

int PortNumber(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    const int port = ok ? n : PortNo(text);
    if (port < 1)
        Usage(QStringLiteral("--port '%1': expected COMn or n, n at least 1").arg(text));
    return port;
}

int BoundedInt(const QString& option, const QString& text, int min, int max)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < min || n > max)
        Usage(QStringLiteral("--%1 '%2': expected a whole number from %3 to %4").arg(option, text).arg(min).arg(max));
    return n;
}

// The window's number rules (StrToInt), then the range its spinner allows:
// the window would send 256 as channel 0, which nobody typing 256 means.
std::uint8_t ChannelValue(const QString& text)
{
    int value = 0;
    try {
        value = StrToInt(text);
    } catch (const EConvertError& e) {
        Usage(QStringLiteral("--channel: %1").arg(e.message()));
    }
    if (value < 1 || value > 255)
        Usage(QStringLiteral("--channel '%1': expected 1 to 255").arg(text));
    return static_cast<std::uint8_t>(value);
}

std::uint8_t PowerLevel(const QString& text)
{
    QString t = text.trimmed().toUpper();
    if (!t.endsWith(QLatin1String("DB")))
        t += QLatin1String("DB");
    for (std::size_t i = 0; i < kPowerNames.size(); ++i)
        if (t == QLatin1String(kPowerNames[i]))
            return static_cast<std::uint8_t>(static_cast<int>(i) + kPowerLevelMin);
    Usage(QStringLiteral("--power '%1': expected 0, 5, 10 or 15 (dB)").arg(text));
}

// The window reads "0x" + its two-character edit with StrToInt; the CLI
// keeps the edit's limit too, so "17E" is refused rather than sent as 7E.
std::uint8_t FrameHeadValue(const QString& text)
{
    int value = -1;
    if (!text.isEmpty() && text.size() <= 2) {
        try {
            value = StrToInt(QStringLiteral("0x") + text);
        } catch (const EConvertError&) {
            value = -1;
        }
    }
    if (value < 0 || value > 0xFF)
        Usage(QStringLiteral("--frame-head '%1': expected one or two hexadecimal digits").arg(text));
    return static_cast<std::uint8_t>(value);
}

QString AirRateText(std::uint8_t code)
{
    const int index = IndexOfCode(kAirRateCodes, code);
    return index < 0 ? QStringLiteral("unknown (code 0x%1)").arg(code, 2, 16, QLatin1Char('0'))
                     : QString::number(kModuleRates[static_cast<std::size_t>(index)]);
}

// --- the module link ---------------------------------------------------

struct LineChoice {
    int rateIndex = 3; // 9600
    int parityIndex = 0;

    int baud() const { return kModuleRates[static_cast<std::size_t>(rateIndex)]; }
    QString text() const
    {
        return QStringLiteral("%1 %2").arg(baud()).arg(kParityNames[static_cast<std::size_t>(parityIndex)]);
    }
};

// Sends requests and waits for their answers. The window never waits; a
// script has to, and has to know when to give up.
class Session {
public:
    Session(QTextStream& err, int portNo, int timeoutMs, int retries)
        : err_(err), portNo_(portNo), timeoutMs_(timeoutMs), retries_(retries)
    {
        QObject::connect(&device_, &TZelCommDevice::PortLost, &device_, [this] { lost_ = true; });
    }

    // Throws Failure(ExitPort) when the port cannot be opened at `line`.
    void open(const LineChoice& line)
    {
        device_.SetActive(false);
        device_.SetPortNo(portNo_);
        device_.SetBaud(kBaudRates[static_cast<std::size_t>(line.rateIndex)]);
        device_.SetParity(kParities[static_cast<std::size_t>(line.parityIndex)]);
        device_.SetByteSize(8);
        device_.SetStopBits(sbOneStopBit);
        // A reply ends at an idle gap; slow lines need the longer one.
        device_.SetPackageInterval(line.baud() <= 4800 ? 100 : 50);
        lost_ = false;
        try {
            device_.SetActive(true);
        } catch (const ECommError& e) {
            throw Failure{ExitPort, QStringLiteral("%1 at %2: %3").arg(PortName(portNo_), line.text(), e.message())};
        }
    }

    // Sends `frame` and returns the first valid reply that `accept` takes,
    // resending after each time-out up to `retries` times.
    ParsedFrame request(const QString& what, const QByteArray& frame,
                        const std::function<bool(const ParsedFrame&)>& accept, std::optional<int> retries = {})
    {
        const int attempts = 1 + retries.value_or(retries_);
        int invalid = 0;
        int unexpected = 0;
        for (int attempt = 1; attempt <= attempts; ++attempt) {
            if (attempt > 1)
                err_ << "  " << what << ": no answer, sending again (" << attempt << " of " << attempts << ")\n"
                     << Qt::flush;
            if (auto reply = exchange(frame, accept, timeoutMs_, invalid, unexpected))
                return *reply;
        }
        QString message = QStringLiteral("%1: no answer after %2 attempt%3 of %4 ms")
                              .arg(what)
                              .arg(attempts)
                              .arg(attempts == 1 ? QString() : QStringLiteral("s"))
                              .arg(timeoutMs_);
        if (invalid + unexpected == 0)
            throw Failure{ExitNoAnswer, message};
        if (invalid > 0)
            message += QStringLiteral("; %1 repl%2 failed the frame check").arg(invalid).arg(invalid == 1 ? "y" : "ies");
        if (unexpected > 0)
            message += QStringLiteral("; %1 other repl%2").arg(unexpected).arg(unexpected == 1 ? "y" : "ies");
        throw Failure{ExitBadAnswer, message};
    }

    // One send and one wait of `waitMs`; counts packages that fail the
    // frame check and valid frames that are not the answer.
    std::optional<ParsedFrame> exchange(const QByteArray& frame, const std::function<bool(const ParsedFrame&)>& accept,
                                        int waitMs, int& invalid, int& unexpected)
    {
        checkPort();
        // A late answer to an earlier request must not pass for this one.
        discardWaiting();
        device_.WritePackage(reinterpret_cast<const std::uint8_t*>(frame.constData()), static_cast<int>(frame.size()));

        std::optional<ParsedFrame> answer;
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject context;
        const auto take = [&] {
            std::vector<std::uint8_t> buffer(TZelCommDevice::PackageSize);
            while (!answer && device_.PackagesWaiting() > 0) {
                const int n = device_.ReadPackage(buffer.data(), static_cast<int>(buffer.size()));
                const auto parsed = ParseFrame(buffer.data(), n);
                if (!parsed)
                    ++invalid;
                else if (accept(*parsed))
                    answer = parsed;
                else
                    ++unexpected;
            }
            if (answer || lost_)
                loop.quit();
        };
        QObject::connect(&device_, &TZelCommDevice::OnPackage, &context, [&](int) { take(); });
        QObject::connect(&device_, &TZelCommDevice::PortLost, &context, [&] { loop.quit(); });
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(waitMs);
        take();
        if (!answer && !lost_)
            loop.exec();
        checkPort();
        return answer;
    }

private:
    void discardWaiting()
    {
        std::array<std::uint8_t, 16> scratch{};
        while (device_.PackagesWaiting() > 0)
            device_.ReadPackage(scratch.data(), static_cast<int>(scratch.size()));
    }

    void checkPort() const
    {
        if (lost_ || !device_.Active())
            throw Failure{ExitPort, QStringLiteral("%1: the port went away").arg(PortName(portNo_))};
    }

    QTextStream& err_;
    TZelCommDevice device_;
    int portNo_;
    int timeoutMs_;
    int retries_;
    bool lost_ = false;
};

bool IsCode(const ParsedFrame& f, std::uint8_t code)
{
    return f.command == code;
}

bool HasValue(const ParsedFrame& f, std::uint8_t code)
{
    return f.command == code && !f.payload.isEmpty();
}

std::uint8_t ValueOf(const ParsedFrame& f)
{
    return static_cast<std::uint8_t>(f.payload.at(0));
}

// --- commands ----------------------------------------------------------

struct Options {
    QString command;
    QStringList positional;
    int portNo = 0;
    LineChoice line;
    bool lineGiven = false;
    int timeoutMs = kDefaultTimeoutMs;
    bool timeoutGiven = false;
    int retries = kDefaultRetries;
};

void CheckPortExists(int portNo)
{
    if (PortDevice(portNo).isEmpty())
        throw Failure{ExitPort, QStringLiteral("%1: no such port (see radioset-cli ports)").arg(PortName(portNo))};
}

int Ports(QTextStream& out)
{
    QList<SystemPort> ports = SystemPorts();
    std::sort(ports.begin(), ports.end(),
              [](const SystemPort& a, const SystemPort& b) { return PortNo(a.name) < PortNo(b.name); });
    for (const SystemPort& p : ports)
        out << p.name << '\t' << p.device << '\n';
    return ExitOk;
}

int Detect(const Options& o, QTextStream& out, QTextStream& err)
{
    CheckPortExists(o.portNo);
    Session session(err, o.portNo, o.timeoutGiven ? o.timeoutMs : kDetectWaitMs, 0);
    const QByteArray request = MakeFrame(CmdDetect, {0x00, 0x00});
    const int settings = static_cast<int>(kModuleRates.size() * kParityNames.size());
    const int start = o.line.rateIndex * 3 + o.line.parityIndex;
    int unopened = 0;
    for (int step = 0; step < settings; ++step) {
        const int index = (start + step) % settings;
        const LineChoice line{index / 3, index % 3};
        err << "detect: trying " << line.text() << '\n' << Qt::flush;
        try {
            session.open(line);
        } catch (const Failure& f) {
            // A pty refuses even parity; a real adapter may refuse a rate.
            err << "  " << f.message << '\n' << Qt::flush;
            ++unopened;
            continue;
        }
        int invalid = 0;
        int unexpected = 0;
        if (session.exchange(request, [](const ParsedFrame& f) { return IsCode(f, RspDetect); },
                             o.timeoutGiven ? o.timeoutMs : kDetectWaitMs, invalid, unexpected)) {
            out << line.text() << '\n';
            return ExitOk;
        }
    }
    if (unopened == settings)
        throw Failure{ExitPort, QStringLiteral("%1: could not be opened at any setting").arg(PortName(o.portNo))};
    throw Failure{ExitNoAnswer, QStringLiteral("detect: no answer at any of the %1 settings").arg(settings)};
}

int Get(const Options& o, bool json, QTextStream& out, QTextStream& err)
{
    CheckPortExists(o.portNo);
    Session session(err, o.portNo, o.timeoutMs, o.retries);
    session.open(o.line);
    const std::uint8_t air = ValueOf(session.request(QStringLiteral("read air rate"), MakeFrame(CmdReadAirRate, {0x00}),
                                                     [](const ParsedFrame& f) { return HasValue(f, RspAirRate); }));
    const std::uint8_t channel =
        ValueOf(session.request(QStringLiteral("read channel"), MakeFrame(CmdReadChannel, {0x00}),
                                [](const ParsedFrame& f) { return HasValue(f, RspChannel); }));
    const std::uint8_t power = ValueOf(session.request(QStringLiteral("read power"), MakeFrame(CmdReadPower, {0x00}),
                                                       [](const ParsedFrame& f) { return HasValue(f, RspPower); }));
    const bool powerKnown = power >= kPowerLevelMin && power <= kPowerLevelMax;
    const QString powerText = powerKnown ? QLatin1String(kPowerNames[static_cast<std::size_t>(power - kPowerLevelMin)])
                                         : QStringLiteral("unknown (level %1)").arg(power);
    const int airIndex = IndexOfCode(kAirRateCodes, air);
    if (json) {
        QJsonObject o2;
        o2.insert(QStringLiteral("port"), PortName(o.portNo));
        o2.insert(QStringLiteral("air_rate"), airIndex < 0 ? QJsonValue() : QJsonValue(kModuleRates[static_cast<std::size_t>(airIndex)]));
        o2.insert(QStringLiteral("air_rate_code"), air);
        o2.insert(QStringLiteral("channel"), channel);
        o2.insert(QStringLiteral("power"), powerKnown ? QJsonValue(powerText) : QJsonValue());
        o2.insert(QStringLiteral("power_level"), power);
        out << QJsonDocument(o2).toJson(QJsonDocument::Compact) << '\n';
    } else {
        out << "air-rate " << AirRateText(air) << '\n'
            << "channel " << channel << '\n'
            << "power " << powerText << '\n';
    }
    return ExitOk;
}

struct SetRequest {
    QString what;
    QByteArray frame;
    bool changesLine = false;
};

int Set(const Options& o, const std::vector<SetRequest>& requests, QTextStream& err)
{
    CheckPortExists(o.portNo);
    Session session(err, o.portNo, o.timeoutMs, o.retries);
    session.open(o.line);
    for (const SetRequest& r : requests) {
        err << r.what << '\n' << Qt::flush;
        // A resent serial-rate request would go out at settings the module
        // may already have left; it is sent once.
        session.request(r.what, r.frame, [](const ParsedFrame& f) { return IsCode(f, RspCmdOk); },
                        r.changesLine ? std::optional<int>(0) : std::nullopt);
    }
    err << "done\n" << Qt::flush;
    return ExitOk;
}

using PlanBytes = std::array<FrequencyBytes, 2>; // transmit, receive

std::array<PlanBytes, PlanChannelCount> ReadPlanFromModule(Session& session, QTextStream& err)
{
    std::array<PlanBytes, PlanChannelCount> plan{};
    for (int channel = 1; channel <= PlanChannelCount; ++channel) {
        err << "reading channel " << channel << " of " << PlanChannelCount << '\n' << Qt::flush;
        const auto ch = static_cast<std::uint8_t>(channel);
        const ParsedFrame reply = session.request(
            QStringLiteral("read channel %1 frequencies").arg(channel), MakeFrame(CmdReadFrequency, {ch, 0x00}),
            [ch](const ParsedFrame& f) {
                return f.command == RspFrequency && f.payload.size() >= 9 && static_cast<std::uint8_t>(f.payload.at(0)) == ch;
            });
        for (std::size_t i = 0; i < 4; ++i) {
            plan[static_cast<std::size_t>(channel - 1)][0][i] = static_cast<std::uint8_t>(reply.payload.at(static_cast<qsizetype>(1 + i)));
            plan[static_cast<std::size_t>(channel - 1)][1][i] = static_cast<std::uint8_t>(reply.payload.at(static_cast<qsizetype>(5 + i)));
        }
    }
    return plan;
}

int PlanRead(const Options& o, const QString& file, QTextStream& err)
{
    CheckPortExists(o.portNo);
    Session session(err, o.portNo, o.timeoutMs, o.retries);
    session.open(o.line);
    const auto plan = ReadPlanFromModule(session, err);
    IniFile ini(file);
    WritePlanEntries(ini, [&](bool transmit, int channel) {
        return FrequencyText(plan[static_cast<std::size_t>(channel - 1)][transmit ? 0 : 1]);
    });
    try {
        ini.UpdateFile();
    } catch (const EInOutError& e) {
        throw Failure{ExitFile, e.message()};
    }
    err << "saved " << file << '\n' << Qt::flush;
    return ExitOk;
}

// Every text of the file is judged before anything is sent: the window
// stops half-way through a plan at the first bad channel, which leaves the
// module with a mix of old and new channels.
std::array<PlanBytes, PlanChannelCount> LoadPlanFile(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        throw Failure{ExitFile, QStringLiteral("cannot read plan file %1").arg(file)};
    const IniFile ini(file);
    std::array<PlanBytes, PlanChannelCount> plan{};
    QStringList problems;
    ForEachPlanEntry([&](bool transmit, int channel) {
        const QString text = ReadPlanEntry(ini, transmit, channel);
        const QString which = QStringLiteral("channel %1 %2 frequency '%3'")
                                  .arg(channel)
                                  .arg(transmit ? QStringLiteral("transmit") : QStringLiteral("receive"), text);
        FrequencyFit fit = FrequencyFit::OutOfRange;
        try {
            fit = CheckFrequencyText(text);
        } catch (const EConvertError&) {
            problems << which + QStringLiteral(" is not a number");
            return;
        }
        if (fit == FrequencyFit::OutOfRange)
            problems << which + QStringLiteral(" is outside 100 to 999.99999 MHz");
        else if (fit == FrequencyFit::TooFine)
            problems << which + QStringLiteral(" is finer than 10 Hz");
        else
            plan[static_cast<std::size_t>(channel - 1)][transmit ? 0 : 1] = EncodeFrequency(text);
    });
    if (!problems.isEmpty())
        throw Failure{ExitUsage, QStringLiteral("%1: nothing sent\n  %2").arg(file, problems.join(QStringLiteral("\n  ")))};
    return plan;
}

int PlanWrite(const Options& o, const QString& file, bool verify, QTextStream& err)
{
    const auto plan = LoadPlanFile(file);
    CheckPortExists(o.portNo);
    Session session(err, o.portNo, o.timeoutMs, o.retries);
    session.open(o.line);
    for (int channel = 1; channel <= PlanChannelCount; ++channel) {
        err << "writing channel " << channel << " of " << PlanChannelCount << '\n' << Qt::flush;
        const PlanBytes& p = plan[static_cast<std::size_t>(channel - 1)];
        std::array<std::uint8_t, 9> payload{static_cast<std::uint8_t>(channel)};
        std::copy(p[0].begin(), p[0].end(), payload.begin() + 1);
        std::copy(p[1].begin(), p[1].end(), payload.begin() + 5);
        session.request(QStringLiteral("write channel %1 frequencies").arg(channel), MakeFrame(CmdSetFrequency, payload),
                        [](const ParsedFrame& f) { return f.command == RspFrequencySet || f.command == RspCmdOk; });
    }
    if (!verify) {
        err << "done\n" << Qt::flush;
        return ExitOk;
    }
    const auto back = ReadPlanFromModule(session, err);
    QStringList differences;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        for (std::size_t d = 0; d < 2; ++d) {
            if (plan[i][d] != back[i][d])
                differences << QStringLiteral("channel %1 %2: wrote %3, module holds %4")
                                   .arg(i + 1)
                                   .arg(d == 0 ? QStringLiteral("transmit") : QStringLiteral("receive"),
                                        FrequencyText(plan[i][d]), FrequencyText(back[i][d]));
        }
    }
    if (!differences.isEmpty())
        throw Failure{ExitMismatch, QStringLiteral("verify failed:\n  ") + differences.join(QStringLiteral("\n  "))};
    err << "verified " << PlanChannelCount << " channels\n" << Qt::flush;
    return ExitOk;
}

// --- command line ------------------------------------------------------

int Dispatch(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto valueOption = [](const QString& name, const QString& valueName) {
        return QCommandLineOption(name, QString(), valueName);
    };
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption port = valueOption(QStringLiteral("port"), QStringLiteral("COMn"));
    const QCommandLineOption baud = valueOption(QStringLiteral("baud"), QStringLiteral("rate"));
    const QCommandLineOption parity = valueOption(QStringLiteral("parity"), QStringLiteral("parity"));
    const QCommandLineOption timeout = valueOption(QStringLiteral("timeout"), QStringLiteral("ms"));
    const QCommandLineOption retries = valueOption(QStringLiteral("retries"), QStringLiteral("n"));
    const QCommandLineOption linkFolder = valueOption(QStringLiteral("link-folder"), QStringLiteral("dir"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption airRate = valueOption(QStringLiteral("air-rate"), QStringLiteral("rate"));
    const QCommandLineOption channel = valueOption(QStringLiteral("channel"), QStringLiteral("n"));
    const QCommandLineOption power = valueOption(QStringLiteral("power"), QStringLiteral("db"));
    const QCommandLineOption mode = valueOption(QStringLiteral("mode"), QStringLiteral("mode"));
    const QCommandLineOption frameHead = valueOption(QStringLiteral("frame-head"), QStringLiteral("hh"));
    const QCommandLineOption serialRate = valueOption(QStringLiteral("serial-rate"), QStringLiteral("rate"));
    const QCommandLineOption serialParity = valueOption(QStringLiteral("serial-parity"), QStringLiteral("parity"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("file"));
    const QCommandLineOption verify(QStringLiteral("verify"));
    parser.addOptions({help, port, baud, parity, timeout, retries, linkFolder, json, airRate, channel, power, mode,
                       frameHead, serialRate, serialParity, output, verify});
    if (!parser.parse(arguments))
        Usage(parser.errorText());
    if (parser.isSet(help)) {
        out << kHelp;
        return ExitOk;
    }

    Options o;
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        Usage(QStringLiteral("no command given (see --help)"));
    o.command = positional.takeFirst();
    if (o.command == QLatin1String("plan")) {
        if (positional.isEmpty())
            Usage(QStringLiteral("plan: expected read or write"));
        o.command += QLatin1Char(' ') + positional.takeFirst();
    }
    o.positional = positional;

    // Which options each command takes; anything else is refused so that a
    // mistyped command line never half-happens.
    const QStringList line{QStringLiteral("port"), QStringLiteral("baud"), QStringLiteral("parity"),
                           QStringLiteral("timeout"), QStringLiteral("retries"), QStringLiteral("link-folder")};
    QStringList allowed;
    int positionalCount = 0;
    if (o.command == QLatin1String("ports")) {
        allowed = {QStringLiteral("link-folder")};
    } else if (o.command == QLatin1String("detect")) {
        allowed = line;
    } else if (o.command == QLatin1String("get")) {
        allowed = line + QStringList{QStringLiteral("json")};
    } else if (o.command == QLatin1String("set")) {
        allowed = line + QStringList{QStringLiteral("air-rate"), QStringLiteral("channel"), QStringLiteral("power"),
                                     QStringLiteral("mode"), QStringLiteral("frame-head"), QStringLiteral("serial-rate"),
                                     QStringLiteral("serial-parity")};
    } else if (o.command == QLatin1String("plan read")) {
        allowed = line + QStringList{QStringLiteral("o"), QStringLiteral("output")};
    } else if (o.command == QLatin1String("plan write")) {
        allowed = line + QStringList{QStringLiteral("verify")};
        positionalCount = 1;
    } else {
        Usage(QStringLiteral("unknown command '%1' (see --help)").arg(o.command));
    }
    for (const QString& name : parser.optionNames())
        if (!allowed.contains(name))
            Usage(QStringLiteral("%1: option --%2 does not apply").arg(o.command, name));
    if (o.positional.size() != positionalCount)
        Usage(positionalCount == 0 ? QStringLiteral("%1: unexpected argument '%2'").arg(o.command, o.positional.value(0))
                                   : QStringLiteral("%1: expected one plan file").arg(o.command));
    for (const QCommandLineOption* single : {&port, &baud, &parity, &timeout, &retries, &linkFolder, &airRate, &channel,
                                             &power, &mode, &frameHead, &serialRate, &serialParity, &output})
        if (parser.values(*single).size() > 1)
            Usage(QStringLiteral("--%1 given more than once").arg(single->names().constLast()));

    if (parser.isSet(linkFolder))
        SetPortLinkFolder(parser.value(linkFolder));
    if (o.command == QLatin1String("ports"))
        return Ports(out);

    if (!parser.isSet(port))
        Usage(QStringLiteral("%1: --port is required").arg(o.command));
    o.portNo = PortNumber(parser.value(port));
    if (parser.isSet(baud))
        o.line.rateIndex = RateIndex(QStringLiteral("baud"), parser.value(baud));
    if (parser.isSet(parity))
        o.line.parityIndex = ParityIndex(QStringLiteral("parity"), parser.value(parity));
    if (parser.isSet(timeout)) {
        o.timeoutMs = BoundedInt(QStringLiteral("timeout"), parser.value(timeout), 10, 60000);
        o.timeoutGiven = true;
    }
    if (parser.isSet(retries))
        o.retries = BoundedInt(QStringLiteral("retries"), parser.value(retries), 0, 10);

    if (o.command == QLatin1String("detect"))
        return Detect(o, out, err);
    if (o.command == QLatin1String("get"))
        return Get(o, parser.isSet(json), out, err);
    if (o.command == QLatin1String("plan read")) {
        if (!parser.isSet(output) || parser.value(output).isEmpty())
            Usage(QStringLiteral("plan read: -o FILE is required"));
        return PlanRead(o, parser.value(output), err);
    }
    if (o.command == QLatin1String("plan write"))
        return PlanWrite(o, o.positional.constFirst(), parser.isSet(verify), err);

    // set: every value is judged before the port is opened.
    std::vector<SetRequest> requests;
    if (parser.isSet(airRate)) {
        const int i = RateIndex(QStringLiteral("air-rate"), parser.value(airRate));
        requests.push_back({QStringLiteral("set air rate %1").arg(kModuleRates[static_cast<std::size_t>(i)]),
                            MakeFrame(CmdSetAirRate, {kAirRatePrefix, kAirRateCodes[static_cast<std::size_t>(i)]})});
    }
    if (parser.isSet(channel)) {
        const std::uint8_t c = ChannelValue(parser.value(channel));
        requests.push_back({QStringLiteral("set channel %1").arg(c), MakeFrame(CmdSetChannel, {c, 0x00, 0x00, 0x00})});
    }
    if (parser.isSet(power)) {
        const std::uint8_t level = PowerLevel(parser.value(power));
        requests.push_back({QStringLiteral("set power %1").arg(QLatin1String(kPowerNames[level - kPowerLevelMin])),
                            MakeFrame(CmdSetPower, {level})});
    }
    if (parser.isSet(mode)) {
        const QString m = parser.value(mode).trimmed().toLower();
        if (m != QLatin1String("transparent") && m != QLatin1String("frame-head"))
            Usage(QStringLiteral("--mode '%1': expected transparent or frame-head").arg(parser.value(mode)));
        requests.push_back({QStringLiteral("set mode %1").arg(m),
                            MakeFrame(CmdSetWorkMode, {m == QLatin1String("transparent") ? kTransparentMode : kFrameHeadMode})});
    }
    if (parser.isSet(frameHead)) {
        const std::uint8_t head = FrameHeadValue(parser.value(frameHead));
        requests.push_back({QStringLiteral("set frame head %1").arg(QString::number(head, 16).toUpper().rightJustified(2, QLatin1Char('0'))),
                            MakeFrame(CmdSetFrameHead, {head})});
    }
    if (parser.isSet(serialRate) || parser.isSet(serialParity)) {
        LineChoice next = o.line;
        if (parser.isSet(serialRate))
            next.rateIndex = RateIndex(QStringLiteral("serial-rate"), parser.value(serialRate));
        if (parser.isSet(serialParity))
            next.parityIndex = ParityIndex(QStringLiteral("serial-parity"), parser.value(serialParity));
        const auto bits = static_cast<std::uint8_t>(kParityBits[static_cast<std::size_t>(next.parityIndex)] |
                                                    kSerialRateBits[static_cast<std::size_t>(next.rateIndex)]);
        requests.push_back({QStringLiteral("set serial rate %1").arg(next.text()), MakeFrame(CmdSetSerialRate, {bits}), true});
    }
    if (requests.empty())
        Usage(QStringLiteral("set: nothing to set (see --help)"));
    return Set(o, requests, err);
}

} // namespace

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    int rc = ExitInternal;
    try {
        rc = Dispatch(arguments, out, err);
    } catch (const Failure& f) {
        err << "radioset-cli: " << f.message << '\n';
        rc = f.code;
    } catch (const Exception& e) {
        err << "radioset-cli: " << e.message() << '\n';
        rc = ExitInternal;
    } catch (const std::exception& e) {
        err << "radioset-cli: " << e.what() << '\n';
        rc = ExitInternal;
    }
    out.flush();
    err.flush();
    return rc;
}

} // namespace radioset::cli
