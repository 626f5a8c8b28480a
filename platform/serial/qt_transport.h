#pragma once

#include "platform/serial/transport.h"

#include <QSerialPort>
#include <QString>

namespace radioset {

// A real serial port (or a pty slave) through QSerialPort, event-driven on
// the thread that owns it.
class QtSerialTransport final : public SerialTransport {
    Q_OBJECT
public:
    // devicePath may be a link (COMn in the port-link folder); the port is
    // opened by its resolved path so that the lock file names the device
    // itself, whatever link another program went through.
    explicit QtSerialTransport(QString devicePath, QObject* parent = nullptr);
    ~QtSerialTransport() override;

    void open(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    std::uint64_t lineErrorCount() override;

private:
    void onError(QSerialPort::SerialPortError error);
    void onBytesWritten();
    void applySettings(const LineSettings& settings);
    // Driver counters (frame + parity + overrun + break); false when the
    // driver keeps none.
    bool readDriverCounters(std::uint64_t& total);

    QString devicePath_;
    QSerialPort port_;
    bool countersAvailable_ = false;
    std::uint64_t countersAtOpen_ = 0;
    std::uint64_t lastCount_ = 0;
};

} // namespace radioset
