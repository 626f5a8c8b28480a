#include "platform/serial/comm_device.h"

#include "platform/exceptions.h"

#include <QMetaObject>

#include <algorithm>
#include <cstring>

namespace radioset {

TZelCommDevice::TZelCommDevice(QObject* parent) : QObject(parent)
{
    idle_.setSingleShot(true);
    // A coarse timer may fire 5% late; the hand-over should follow the gap
    // closely.
    idle_.setTimerType(Qt::PreciseTimer);
    connect(&idle_, &QTimer::timeout, this, &TZelCommDevice::onIdle);
}

TZelCommDevice::~TZelCommDevice()
{
    closePort();
}

void TZelCommDevice::SetPortNo(int portNo)
{
    closePort();
    portNo_ = portNo;
}

void TZelCommDevice::SetBaud(TBaudRate baud)
{
    closePort();
    baud_ = baud;
}

void TZelCommDevice::SetByteSize(int byteSize)
{
    closePort();
    byteSize_ = byteSize;
}

void TZelCommDevice::SetParity(TParity parity)
{
    closePort();
    parity_ = parity;
}

void TZelCommDevice::SetStopBits(TStopBits stopBits)
{
    closePort();
    stopBits_ = stopBits;
}

void TZelCommDevice::SetPackageInterval(int ms)
{
    packageInterval_ = std::max(0, ms);
    if (idle_.isActive())
        idle_.start(packageInterval_);
}

bool TZelCommDevice::Active() const
{
    return transport_ && transport_->isOpen();
}

LineSettings TZelCommDevice::currentSettings() const
{
    LineSettings s;
    s.baud = BaudRateValue(baud_);
    s.dataBits = byteSize_;
    s.parity = parity_;
    s.stopBits = stopBits_;
    return s;
}

void TZelCommDevice::SetActive(bool active)
{
    if (!active) {
        closePort();
        return;
    }
    if (Active())
        return;
    closePort(); // drops a transport left behind by a lost port

    std::unique_ptr<SerialTransport> transport = CreateTransport(portNo_);
    if (!transport)
        throw ECommError(OpenFailureText());
    transport->open(currentSettings()); // throws; the transport is discarded

    connect(transport.get(), &SerialTransport::readyRead, this, &TZelCommDevice::onReadyRead);
    connect(transport.get(), &SerialTransport::allWritten, this, &TZelCommDevice::onAllWritten);
    connect(transport.get(), &SerialTransport::lost, this, &TZelCommDevice::onLost);
    lineErrorsSeen_ = transport->lineErrorCount();
    transport_ = std::move(transport);
}

void TZelCommDevice::closePort()
{
    idle_.stop();
    collecting_.clear();
    queue_.clear();
    // Notifications of a closed session mean nothing to the next one.
    notes_.clear();
    if (transport_) {
        transport_->disconnect(this);
        transport_->close();
        transport_.reset();
    }
}

int TZelCommDevice::WritePackage(const std::uint8_t* data, int length)
{
    if (!Active() || data == nullptr || length <= 0)
        return 0;
    transport_->write(QByteArray(reinterpret_cast<const char*>(data), length));
    return length;
}

int TZelCommDevice::ReadPackage(std::uint8_t* buffer, int max)
{
    if (!Active() || queue_.empty())
        return 0;
    const QByteArray package = std::move(queue_.front());
    queue_.pop_front();
    const int count = std::clamp(static_cast<int>(package.size()), 0, std::max(0, max));
    if (count > 0)
        std::memcpy(buffer, package.constData(), static_cast<std::size_t>(count));
    return count;
}

void TZelCommDevice::onReadyRead()
{
    if (!transport_)
        return;
    const QByteArray bytes = transport_->readAll();
    const std::uint64_t errors = transport_->lineErrorCount();
    if (errors > lineErrorsSeen_) {
        lineErrorsSeen_ = errors;
        post(NoteKind::Comm, NotifyLineError);
    }
    if (bytes.isEmpty())
        return;
    const qsizetype room = PackageSize - collecting_.size();
    if (room > 0)
        collecting_.append(bytes.constData(), std::min(room, bytes.size()));
    idle_.start(packageInterval_);
}

void TZelCommDevice::onIdle()
{
    if (collecting_.isEmpty())
        return;
    QByteArray package;
    package.swap(collecting_);
    // Incoming only: with the queue full the newest package is lost, as the
    // window expects of this component.
    if (static_cast<int>(queue_.size()) >= QueueSize)
        return;
    queue_.push_back(std::move(package));
    post(NoteKind::Package, NotifyPackage);
}

void TZelCommDevice::onAllWritten()
{
    post(NoteKind::Comm, NotifyTxEmpty);
}

void TZelCommDevice::onLost()
{
    // Runs inside the transport's error handling; the transport has closed
    // itself, and is released at the next open or close, not here.
    idle_.stop();
    collecting_.clear();
    queue_.clear();
    notes_.clear();
    post(NoteKind::Lost, 0);
}

void TZelCommDevice::post(NoteKind kind, int type)
{
    // Handlers may open modal boxes whose nested loops run further
    // deliveries; the FIFO keeps them in order and one at a time.
    notes_.push_back(Note{kind, type});
    QMetaObject::invokeMethod(this, &TZelCommDevice::deliverOne, Qt::QueuedConnection);
}

void TZelCommDevice::deliverOne()
{
    if (notes_.empty())
        return;
    const Note note = notes_.front();
    notes_.pop_front();
    switch (note.kind) {
    case NoteKind::Package:
        emit OnPackage(note.type);
        break;
    case NoteKind::Comm:
        emit OnCommNotify(note.type);
        emit OnPackage(note.type);
        break;
    case NoteKind::Lost:
        emit PortLost();
        break;
    }
}

} // namespace radioset
