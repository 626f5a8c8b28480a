#include "sim/simulated_module.h"

#include "link/frame.h"
#include "platform/exceptions.h"
#include "platform/ports.h"
#include "platform/serial/virtual_line.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace radioset {

namespace {

// A partial frame older than this is noise; the module starts afresh.
constexpr int StaleFrameMs = 200;
// What the module keeps for a port nobody reads; beyond it bytes are lost,
// as on a cable with nobody listening.
constexpr qsizetype MaxPendingOutput = qsizetype{64} * 1024;

int SpeedValue(speed_t speed)
{
    switch (speed) {
    case B110: return 110;
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}

QString ErrnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

// The master side of a pseudo-terminal. The module keeps a descriptor of the
// slave open itself: without it the master reports hang-up for as long as the
// program has the port closed, which would wake the notifier without end.
class SimulatedModule::PtyEnd {
public:
    explicit PtyEnd(SimulatedModule* owner) : owner_(owner) {}

    ~PtyEnd() { close(); }

    void open()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0)
            throw Exception(ErrnoText("posix_openpt"));
        if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            const QString text = ErrnoText("unlockpt");
            close();
            throw Exception(text);
        }
        char name[128] = {};
        if (::ptsname_r(master_, name, sizeof name) != 0) {
            const QString text = ErrnoText("ptsname");
            close();
            throw Exception(text);
        }
        slavePath_ = QString::fromLocal8Bit(name);
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (slave_ < 0) {
            const QString text = ErrnoText("open slave");
            close();
            throw Exception(text);
        }
        // Raw from the start: an echoing slave would send the module's own
        // replies back to it as requests.
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(slave_, TCSANOW, &tio);

        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        reader_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(reader_.get(), &QSocketNotifier::activated, owner_, [this] { readAvailable(); });
        writer_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
        writer_->setEnabled(false);
        QObject::connect(writer_.get(), &QSocketNotifier::activated, owner_, [this] { flush(); });
    }

    void close()
    {
        reader_.reset();
        writer_.reset();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
        master_ = slave_ = -1;
        pending_.clear();
    }

    QString slavePath() const { return slavePath_; }

    void write(const QByteArray& bytes)
    {
        if (master_ < 0)
            return;
        const qsizetype room = MaxPendingOutput - pending_.size();
        if (room <= 0)
            return;
        pending_.append(bytes.left(room));
        flush();
    }

    // The baud rate the program has set on the slave.
    int slaveBaud() const
    {
        termios tio{};
        if (master_ < 0 || ::tcgetattr(master_, &tio) != 0)
            return 0;
        return SpeedValue(::cfgetospeed(&tio));
    }

private:
    void readAvailable()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                const bool ownSettings = slaveBaud() == owner_->line_.baud;
                owner_->onBytes(QByteArray(buffer, static_cast<qsizetype>(n)), ownSettings);
                if (master_ < 0)
                    return; // detached from a handler
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            // Hang-up or a broken pty: stop listening rather than spin.
            if (reader_)
                reader_->setEnabled(false);
            return;
        }
    }

    void flush()
    {
        while (!pending_.isEmpty() && master_ >= 0) {
            const ssize_t n = ::write(master_, pending_.constData(), static_cast<size_t>(pending_.size()));
            if (n > 0) {
                pending_.remove(0, static_cast<qsizetype>(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        if (writer_)
            writer_->setEnabled(!pending_.isEmpty());
    }

    SimulatedModule* owner_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QByteArray pending_;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
};

SimulatedModule::SimulatedModule(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < ChannelCount; ++i) {
        // A plan that tells channels apart: 430.00000 MHz upward in 0.5 MHz
        // steps, receive 1 MHz above transmit.
        const std::uint32_t tx = 43000000u + static_cast<std::uint32_t>(i) * 50000u;
        plan_[static_cast<std::size_t>(i)].tx = PackedFrequency(tx);
        plan_[static_cast<std::size_t>(i)].rx = PackedFrequency(tx + 100000u);
    }
    staleTimer_.setSingleShot(true);
    connect(&staleTimer_, &QTimer::timeout, this, [this] { rx_.clear(); });
    rssiTimer_.setInterval(100);
    connect(&rssiTimer_, &QTimer::timeout, this, &SimulatedModule::sendRssi);
}

SimulatedModule::~SimulatedModule()
{
    detach();
}

void SimulatedModule::attach(VirtualLine& line)
{
    detach();
    vline_ = &line;
    LineEnd& end = line.device();
    end.setSettings(line_);
    vlineErrors_ = end.lineErrorCount();
    connect(&end, &LineEnd::readyRead, this, [this] {
        if (!vline_)
            return;
        LineEnd& dev = vline_->device();
        const QByteArray bytes = dev.readAll();
        const std::uint64_t errors = dev.lineErrorCount();
        const bool clean = errors == vlineErrors_;
        vlineErrors_ = errors;
        onBytes(bytes, clean);
    });
}

QString SimulatedModule::attachPty(int portNo)
{
    detach();
    auto pty = std::make_unique<PtyEnd>(this);
    pty->open();
    if (portNo > 0) {
        const QString folder = PortLinkFolder();
        QDir().mkpath(folder);
        const QString link = folder + QLatin1Char('/') + PortName(portNo);
        const QFileInfo existing(link);
        if (existing.isSymLink())
            QFile::remove(link);
        if (!QFile::link(pty->slavePath(), link))
            throw Exception(QStringLiteral("cannot create the port link %1").arg(link));
        linkPath_ = link;
    }
    pty_ = std::move(pty);
    return pty_->slavePath();
}

void SimulatedModule::detach()
{
    rssiTimer_.stop();
    staleTimer_.stop();
    rx_.clear();
    if (vline_)
        vline_->device().disconnect(this);
    vline_ = nullptr;
    pty_.reset();
    if (!linkPath_.isEmpty()) {
        QFile::remove(linkPath_);
        linkPath_.clear();
    }
}

bool SimulatedModule::attached() const
{
    return vline_ || pty_;
}

QString SimulatedModule::slavePath() const
{
    return pty_ ? pty_->slavePath() : QString();
}

QString SimulatedModule::linkPath() const
{
    return linkPath_;
}

void SimulatedModule::setLineSettings(int baud, TParity parity)
{
    line_.baud = baud;
    line_.parity = parity;
    if (vline_)
        vline_->device().setSettings(line_);
}

void SimulatedModule::setRssiInterval(int ms)
{
    rssiTimer_.setInterval(ms);
}

void SimulatedModule::sendRaw(const QByteArray& bytes)
{
    write(bytes);
}

LineSettings SimulatedModule::SerialRateSettings(std::uint8_t payload)
{
    LineSettings s;
    switch (payload & 0x0F) {
    case 0x03: s.baud = 1200; break;
    case 0x02: s.baud = 2400; break;
    case 0x01: s.baud = 4800; break;
    case 0x00: s.baud = 9600; break;
    case 0x06: s.baud = 19200; break;
    case 0x07: s.baud = 38400; break;
    default: s.baud = 0; break;
    }
    switch (payload & 0xF0) {
    case 0x20: s.parity = ptOddParity; break;
    case 0x30: s.parity = ptEvenParity; break;
    default: s.parity = ptNoParity; break;
    }
    return s;
}

std::array<std::uint8_t, 4> SimulatedModule::PackedFrequency(std::uint32_t tensOfHz)
{
    std::array<std::uint8_t, 4> bytes{};
    for (int i = 3; i >= 0; --i) {
        const std::uint32_t low = tensOfHz % 10;
        tensOfHz /= 10;
        const std::uint32_t high = tensOfHz % 10;
        tensOfHz /= 10;
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((high << 4) | low);
    }
    return bytes;
}

void SimulatedModule::write(const QByteArray& bytes)
{
    if (vline_)
        vline_->device().write(bytes);
    else if (pty_)
        pty_->write(bytes);
}

void SimulatedModule::onBytes(const QByteArray& bytes, bool atOwnSettings)
{
    if (!atOwnSettings) {
        // Heard as noise: whatever was being collected is broken too.
        ++mismatched_;
        rx_.clear();
        staleTimer_.stop();
        return;
    }
    rx_.append(bytes);
    extractFrames();
}

void SimulatedModule::extractFrames()
{
    for (;;) {
        const qsizetype head = rx_.indexOf("\x55\xAA");
        if (head < 0) {
            // Keep a lone 0x55 at the end: it may be the first half of a head.
            rx_ = rx_.endsWith('\x55') ? QByteArray(1, '\x55') : QByteArray();
            break;
        }
        rx_.remove(0, head);
        if (rx_.size() < 3)
            break;
        const qsizetype length = static_cast<std::uint8_t>(rx_[2]) + 4;
        if (rx_.size() < length)
            break;
        const QByteArray candidate = rx_.left(length);
        if (ParseFrame(candidate)) {
            rx_.remove(0, length);
            handle(candidate);
            if (!attached())
                return;
        } else {
            rx_.remove(0, 1); // not a frame after all; look for the next head
        }
    }
    if (rx_.isEmpty())
        staleTimer_.stop();
    else
        staleTimer_.start(StaleFrameMs);
}

void SimulatedModule::handle(const QByteArray& frame)
{
    received_.append(frame);
    emit frameReceived(frame);

    const auto parsed = ParseFrame(frame);
    const std::uint8_t command = parsed->command;
    const QByteArray& p = parsed->payload;
    auto at = [&p](int i) -> std::uint8_t { return i < p.size() ? static_cast<std::uint8_t>(p[i]) : 0; };
    // 55 AA 02 20 00 22: the acknowledgement carries no payload.
    const QByteArray ack = MakeFrame(RspCmdOk, {});

    switch (command) {
    case CmdDetect:
        reply(MakeFrame(RspDetect, {0x00}));
        break;
    case CmdSetAirRate:
        params_.airRate = at(1);
        reply(ack);
        break;
    case CmdReadAirRate:
        reply(MakeFrame(RspAirRate, {params_.airRate}));
        break;
    case CmdReadChannel:
        reply(MakeFrame(RspChannel, {params_.channel}));
        break;
    case CmdSetSerialRate: {
        const LineSettings next = SerialRateSettings(at(0));
        if (next.baud == 0) {
            reply(ack);
            break;
        }
        params_.serialRateBits = at(0) & 0x0F;
        params_.parityBits = at(0) & 0xF0;
        // The acknowledgement still leaves at the old settings.
        reply(ack, &next);
        break;
    }
    case CmdSetChannel:
        params_.channel = at(0);
        reply(ack);
        break;
    case CmdSetWorkMode:
        params_.workMode = at(0);
        reply(ack);
        break;
    case CmdSetFrameHead:
        params_.frameHead = at(0);
        reply(ack);
        break;
    case CmdReadPower:
        reply(MakeFrame(RspPower, {params_.power}));
        break;
    case CmdSetPower:
        if (at(0) >= 1 && at(0) <= 4)
            params_.power = at(0);
        reply(ack);
        break;
    case CmdReadFrequency: {
        const int channel = at(0);
        if (channel < 1 || channel > ChannelCount)
            break; // no such channel: the module stays silent
        const ChannelFrequency& f = plan_[static_cast<std::size_t>(channel - 1)];
        const std::uint8_t payload[] = {static_cast<std::uint8_t>(channel), f.tx[0], f.tx[1], f.tx[2], f.tx[3],
                                        f.rx[0], f.rx[1], f.rx[2], f.rx[3]};
        reply(MakeFrame(RspFrequency, payload));
        break;
    }
    case CmdSetFrequency: {
        const int channel = at(0);
        if (channel < 1 || channel > ChannelCount || p.size() < 9)
            break;
        ChannelFrequency& f = plan_[static_cast<std::size_t>(channel - 1)];
        for (int i = 0; i < 4; ++i) {
            f.tx[static_cast<std::size_t>(i)] = at(1 + i);
            f.rx[static_cast<std::size_t>(i)] = at(5 + i);
        }
        reply(frequencyAck_ == FrequencyAck::CmdOk ? ack : MakeFrame(RspFrequencySet, {}));
        break;
    }
    case CmdCarrierTest:
    case CmdZeroOneTest:
        rssiTimer_.stop();
        testMode_ = command;
        reply(ack);
        break;
    case CmdRxTest:
        testMode_ = command;
        reply(ack);
        rssiTimer_.start();
        break;
    case CmdStopTest:
        rssiTimer_.stop();
        testMode_ = 0;
        reply(ack);
        break;
    case CmdTrimUpFine:
        params_.trim += 1;
        reply(ack);
        break;
    case CmdTrimDownFine:
        params_.trim -= 1;
        reply(ack);
        break;
    case CmdTrimUpCoarse:
        params_.trim += 10;
        reply(ack);
        break;
    case CmdTrimDownCoarse:
        params_.trim -= 10;
        reply(ack);
        break;
    default:
        break; // unknown requests go unanswered
    }
}

void SimulatedModule::reply(const QByteArray& frame, const LineSettings* switchTo)
{
    QByteArray bytes = frame;
    switch (fault_) {
    case Fault::None:
        break;
    case Fault::Silent:
        bytes.clear();
        break;
    case Fault::WrongChecksum:
        bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] + 1);
        break;
    case Fault::Garbage:
        for (char& c : bytes) {
            rssiSeed_ = rssiSeed_ * 1103515245u + 12345u;
            c = static_cast<char>(0x80 | ((rssiSeed_ >> 16) & 0x7F)); // never a frame head
        }
        break;
    case Fault::Split:
    case Fault::Merged:
        break;
    }
    if (fault_ == Fault::Merged)
        bytes += MakeFrame(RspCmdOk, {});
    const bool split = fault_ == Fault::Split && bytes.size() > 1;
    const bool hasSwitch = switchTo != nullptr;
    const LineSettings next = hasSwitch ? *switchTo : LineSettings{};
    auto send = [this, bytes, split, hasSwitch, next] {
        if (split) {
            const QByteArray first = bytes.left(bytes.size() / 2);
            const QByteArray second = bytes.mid(bytes.size() / 2);
            write(first);
            QTimer::singleShot(SplitGapMs, this, [this, second] { write(second); });
            emit replied(bytes);
        } else if (!bytes.isEmpty()) {
            write(bytes);
            emit replied(bytes);
        }
        if (hasSwitch)
            setLineSettings(next.baud, next.parity);
    };
    if (replyDelayMs_ > 0)
        QTimer::singleShot(replyDelayMs_, this, send);
    else
        send();
}

void SimulatedModule::sendRssi()
{
    // A signal strength that wanders like a real one.
    rssiSeed_ = rssiSeed_ * 1103515245u + 12345u;
    const auto value = static_cast<char>(0x30 + ((rssiSeed_ >> 16) % 0x40));
    write(QByteArray(1, value));
}

} // namespace radioset
