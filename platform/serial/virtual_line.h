#pragma once

// An in-process serial line with two ends: the host end, which
// TZelCommDevice opens as a COM port, and the device end, where a simulated
// module listens. Bytes travel through the event loop. When the two ends'
// settings disagree the receiver gets garbled bytes and a line error, as
// on a real cable.

#include "platform/serial/line_settings.h"
#include "platform/serial/transport.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <cstdint>

namespace radioset {

class VirtualLine;

class LineEnd : public QObject {
    Q_OBJECT
public:
    LineSettings settings() const { return settings_; }
    void setSettings(const LineSettings& settings) { settings_ = settings; }
    bool isOpen() const { return open_; }

    // Bytes written while the other end is closed are lost, as on a cable
    // with nobody listening.
    void write(const QByteArray& bytes);
    QByteArray readAll();
    std::uint64_t lineErrorCount() const { return lineErrors_; }
    qsizetype bytesAvailable() const { return rx_.size(); }

signals:
    void readyRead();
    void allWritten();
    void openedChanged(bool open);

private:
    friend class VirtualLine;
    friend class VirtualPortTransport;
    explicit LineEnd(VirtualLine* line);
    void setOpen(bool open);
    void deliver(const QByteArray& bytes, bool garbled);

    VirtualLine* line_;
    LineEnd* peer_ = nullptr;
    LineSettings settings_;
    bool open_ = false;
    QByteArray rx_;
    std::uint64_t lineErrors_ = 0;
    std::uint64_t generation_ = 0;
    int inFlight_ = 0;
};

class VirtualLine : public QObject {
    Q_OBJECT
public:
    explicit VirtualLine(QObject* parent = nullptr);
    ~VirtualLine() override;

    LineEnd& host() { return host_; }
    LineEnd& device() { return device_; }

    // From now on COM portNo is this line for the default transport factory,
    // until unpublish() or the line's destruction.
    void publish(int portNo);
    void unpublish();
    int portNo() const { return portNo_; }

    // Pulls the cable: an open host transport reports the port lost.
    void cut();

    // The line published as COM portNo, or nullptr.
    static VirtualLine* published(int portNo);

    // How a byte sent at one setting reads at another: never 0x55, so a
    // garbled stream can never pass for a frame head.
    static std::uint8_t Garble(std::uint8_t byte);

signals:
    void cutOff();

private:
    LineEnd host_;
    LineEnd device_;
    int portNo_ = 0;
};

// The host end of a virtual line seen as a serial port.
class VirtualPortTransport final : public SerialTransport {
    Q_OBJECT
public:
    explicit VirtualPortTransport(VirtualLine& line, QObject* parent = nullptr);
    ~VirtualPortTransport() override;

    void open(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    std::uint64_t lineErrorCount() override;

private:
    QPointer<VirtualLine> line_;
    bool open_ = false;
    std::uint64_t errorsAtOpen_ = 0;
};

} // namespace radioset
