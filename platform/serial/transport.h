#pragma once

// The byte transport beneath TZelCommDevice: a real serial port, or an
// in-process virtual line for tests. Packaging lives above this interface so
// that both are cut into packages by the very same code.

#include "platform/serial/line_settings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace radioset {

class SerialTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialTransport() override = default;

    // Opens and applies the settings. Throws ECommError with the complete
    // text ("Cannot open COM port..." or "Cannot set COM port
    // parameters...") and leaves the transport closed.
    virtual void open(const LineSettings& settings) = 0;
    // Closing a closed transport does nothing.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues all bytes; never drops any while open.
    virtual void write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Line-status errors (framing, parity, overrun, break) counted since
    // open; stays 0 where the driver cannot tell.
    virtual std::uint64_t lineErrorCount() = 0;

signals:
    void readyRead();
    // Everything written so far has left for the line.
    void allWritten();
    // The port went away while open (unplugged, pty master closed). The
    // transport has already closed itself; emitted once.
    void lost();
};

// Says which transport stands behind COM port portNo. Returning nullptr
// means "no such port".
using TransportFactory = std::function<std::unique_ptr<SerialTransport>(int portNo)>;

// Replaces the factory for the whole process; an empty function restores the
// default, which picks a published virtual line first (see VirtualLine) and
// otherwise the device behind the number (PortDevice).
void SetTransportFactory(TransportFactory factory);
std::unique_ptr<SerialTransport> CreateTransport(int portNo);
std::unique_ptr<SerialTransport> CreateDefaultTransport(int portNo);

// The two failure texts; detail, when given, follows after ": ".
QString OpenFailureText(const QString& detail = {});
QString SettingsFailureText(const QString& detail = {});

} // namespace radioset
