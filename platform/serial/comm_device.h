#pragma once

// The serial component the window talks to: a port chosen by number, line
// settings applied at open, and the received byte stream cut into packages
// at idle gaps. Everything runs on the thread that owns the object (the GUI
// thread), driven by the port's own notifications; nothing polls, so an
// open, silent port costs no CPU.

#include "platform/serial/line_settings.h"
#include "platform/serial/transport.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <memory>

namespace radioset {

class TZelCommDevice : public QObject {
    Q_OBJECT
public:
    // NotifyType bits.
    static constexpr int NotifyPackage = 0x01;
    static constexpr int NotifyTxEmpty = 0x04;
    static constexpr int NotifyLineError = 0x80;

    static constexpr int PackageSize = 4096;
    static constexpr int QueueSize = 16;

    explicit TZelCommDevice(QObject* parent = nullptr);
    ~TZelCommDevice() override;

    // Writing any line setting (or the port) while open closes the port; the
    // value is used at the next open.
    int PortNo() const { return portNo_; }
    void SetPortNo(int portNo);
    TBaudRate Baud() const { return baud_; }
    void SetBaud(TBaudRate baud);
    int ByteSize() const { return byteSize_; }
    void SetByteSize(int byteSize);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits stopBits);
    // Idle gap in ms that ends a package; takes effect at once.
    int PackageInterval() const { return packageInterval_; }
    void SetPackageInterval(int ms);

    bool Active() const;
    // true: opens with the current settings; throws ECommError on failure
    // and leaves the port closed. false: closes; nothing on a closed port.
    void SetActive(bool active);

    // Copies the bytes and queues them for the line, in order; returns the
    // count queued (0 when the port is closed). Nothing is ever dropped.
    int WritePackage(const std::uint8_t* data, int length);
    // Takes the oldest waiting package, copies min(its length, max) bytes and
    // returns that count; the rest of a longer package is lost. 0 when no
    // package waits or the port is closed.
    int ReadPackage(std::uint8_t* buffer, int max);

    // Completed packages waiting to be read.
    int PackagesWaiting() const { return static_cast<int>(queue_.size()); }

signals:
    // One per completed package (NotifyType 1) and one per other port
    // notification (NotifyLineError, NotifyTxEmpty). Always delivered from
    // the event loop, in order, one call per notification.
    void OnPackage(int NotifyType);
    void OnCommNotify(int NotifyType);
    // The open port went away (unplugged, pty closed). The port is already
    // closed when this arrives; emitted once per loss.
    void PortLost();

private:
    enum class NoteKind { Package, Comm, Lost };
    struct Note {
        NoteKind kind;
        int type;
    };

    void closePort();
    void onReadyRead();
    void onIdle();
    void onAllWritten();
    void onLost();
    void post(NoteKind kind, int type);
    void deliverOne();
    LineSettings currentSettings() const;

    int portNo_ = 1;
    TBaudRate baud_ = br9600;
    int byteSize_ = 8;
    TParity parity_ = ptNoParity;
    TStopBits stopBits_ = sbOneStopBit;
    int packageInterval_ = 50;

    std::unique_ptr<SerialTransport> transport_;
    QTimer idle_;
    QByteArray collecting_;
    std::deque<QByteArray> queue_;
    std::deque<Note> notes_;
    std::uint64_t lineErrorsSeen_ = 0;
};

} // namespace radioset
