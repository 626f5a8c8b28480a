#include "platform/serial/qt_transport.h"

#include "platform/exceptions.h"

#include <QFileInfo>

#include <cerrno>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace radioset {

namespace {

QSerialPort::Parity QtParity(TParity parity)
{
    switch (parity) {
    case ptNoParity: return QSerialPort::NoParity;
    case ptOddParity: return QSerialPort::OddParity;
    case ptEvenParity: return QSerialPort::EvenParity;
    case ptMarkParity: return QSerialPort::MarkParity;
    case ptSpaceParity: return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QString ParityName(TParity parity)
{
    switch (parity) {
    case ptNoParity: return QStringLiteral("no");
    case ptOddParity: return QStringLiteral("odd");
    case ptEvenParity: return QStringLiteral("even");
    case ptMarkParity: return QStringLiteral("mark");
    case ptSpaceParity: return QStringLiteral("space");
    }
    return QStringLiteral("unknown");
}

} // namespace

QtSerialTransport::QtSerialTransport(QString devicePath, QObject* parent)
    : SerialTransport(parent), devicePath_(std::move(devicePath))
{
    connect(&port_, &QSerialPort::readyRead, this, &SerialTransport::readyRead);
    connect(&port_, &QSerialPort::bytesWritten, this, &QtSerialTransport::onBytesWritten);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialTransport::onError);
}

QtSerialTransport::~QtSerialTransport()
{
    close();
}

void QtSerialTransport::open(const LineSettings& settings)
{
    if (port_.isOpen())
        return;
    const QFileInfo device(devicePath_);
    const QString resolved = device.canonicalFilePath();
    if (resolved.isEmpty())
        throw ECommError(OpenFailureText(QStringLiteral("the port does not exist (is the adapter plugged in?)")));

    // Opened at QSerialPort's defaults (9600 8N1, which any port takes), then
    // configured step by step, so that a refused setting is told apart from
    // a port that cannot be opened at all.
    port_.setPortName(resolved);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = port_.error();
        const QString qtText = port_.errorString();
        QString detail;
        if (error == QSerialPort::PermissionError) {
            // Qt reports a lock held by another program and a refused open()
            // alike; access() tells the two apart.
            const bool locked = qtText.contains(QStringLiteral("lock"), Qt::CaseInsensitive);
            if (!locked && ::access(QFile::encodeName(resolved).constData(), R_OK | W_OK) != 0 && errno == EACCES)
                detail = QStringLiteral("permission denied \u2014 add your user to the dialout group");
            else
                detail = QStringLiteral("the port is in use by another program (ModemManager, brltty or a terminal program)");
        } else if (error == QSerialPort::DeviceNotFoundError) {
            detail = QStringLiteral("the port does not exist (is the adapter plugged in?)");
        } else {
            detail = qtText;
        }
        throw ECommError(OpenFailureText(detail));
    }

    try {
        applySettings(settings);
    } catch (...) {
        port_.close();
        throw;
    }

    countersAvailable_ = readDriverCounters(countersAtOpen_);
    lastCount_ = 0;
}

void QtSerialTransport::applySettings(const LineSettings& s)
{
    // QSerialPort accepts DataBits(9) and quietly keeps 8; Linux has CS5..CS8
    // only, so anything else is refused here instead of being cast through.
    if (s.dataBits < 5 || s.dataBits > 8)
        throw ECommError(SettingsFailureText(QStringLiteral("%1 data bits are not supported").arg(s.dataBits)));
    if (s.baud <= 0)
        throw ECommError(SettingsFailureText(QStringLiteral("unknown baud rate")));
    if (s.parity < ptNoParity || s.parity > ptSpaceParity || s.stopBits < sbOneStopBit || s.stopBits > sbTwoStopBit)
        throw ECommError(SettingsFailureText(QStringLiteral("unknown parity or stop bits")));

    auto refused = [this](const QString& what) {
        return ECommError(SettingsFailureText(QStringLiteral("%1 refused (%2)").arg(what, port_.errorString())));
    };
    if (!port_.setBaudRate(s.baud))
        throw refused(QStringLiteral("%1 baud").arg(s.baud));
    if (!port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)))
        throw refused(QStringLiteral("%1 data bits").arg(s.dataBits));
    if (!port_.setParity(QtParity(s.parity)))
        throw refused(QStringLiteral("%1 parity").arg(ParityName(s.parity)));
    const QSerialPort::StopBits stop = s.stopBits == sbTwoStopBit       ? QSerialPort::TwoStop
                                       : s.stopBits == sbOne_5_StopBits ? QSerialPort::OneAndHalfStop
                                                                        : QSerialPort::OneStop;
    if (!port_.setStopBits(stop))
        throw refused(QStringLiteral("stop bits"));
    if (!port_.setFlowControl(QSerialPort::NoFlowControl))
        throw refused(QStringLiteral("flow control"));
    // Modem lines do not exist on a pty; a port without them still works.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    // What the driver kept from before this open was sent to nobody.
    port_.clear(QSerialPort::Input);
    port_.clearError();
}

void QtSerialTransport::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialTransport::isOpen() const
{
    return port_.isOpen();
}

void QtSerialTransport::write(const QByteArray& bytes)
{
    if (port_.isOpen()) {
        port_.write(bytes); // QSerialPort buffers without limit
        // Hand the bytes to the driver now: left to the write notifier they
        // wait behind whatever the event loop does first, a repaint of the
        // window included, and every request of a 16-channel read pays that.
        port_.flush();
    }
}

QByteArray QtSerialTransport::readAll()
{
    return port_.readAll();
}

bool QtSerialTransport::readDriverCounters(std::uint64_t& total)
{
    const int fd = static_cast<int>(port_.handle());
    if (fd < 0)
        return false;
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0)
        return false; // ENOTTY on a pty, EINVAL on some drivers
    total = static_cast<std::uint64_t>(static_cast<unsigned>(counters.frame)) +
            static_cast<unsigned>(counters.parity) + static_cast<unsigned>(counters.overrun) +
            static_cast<unsigned>(counters.brk) + static_cast<unsigned>(counters.buf_overrun);
    return true;
}

std::uint64_t QtSerialTransport::lineErrorCount()
{
    if (!countersAvailable_ || !port_.isOpen())
        return lastCount_;
    std::uint64_t total = 0;
    if (readDriverCounters(total) && total >= countersAtOpen_)
        lastCount_ = total - countersAtOpen_;
    return lastCount_;
}

void QtSerialTransport::onBytesWritten()
{
    if (port_.bytesToWrite() == 0)
        emit allWritten();
}

void QtSerialTransport::onError(QSerialPort::SerialPortError error)
{
    // A vanished device makes Qt 6.4 repeat ReadError from its read notifier
    // as fast as it can; only closing the port stops that.
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        if (port_.isOpen()) {
            port_.close();
            emit lost();
        }
        break;
    default:
        break;
    }
}

} // namespace radioset
