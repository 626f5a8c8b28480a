#include "platform/serial/virtual_line.h"

#include "platform/exceptions.h"

#include <QMetaObject>

#include <map>

namespace radioset {

namespace {

std::map<int, VirtualLine*>& Registry()
{
    static std::map<int, VirtualLine*> lines;
    return lines;
}

} // namespace

LineEnd::LineEnd(VirtualLine* line) : QObject(nullptr), line_(line) {}

void LineEnd::setOpen(bool open)
{
    if (open_ == open)
        return;
    open_ = open;
    // Bytes in flight belong to the session they were sent in.
    ++generation_;
    rx_.clear();
    inFlight_ = 0;
    emit openedChanged(open);
}

void LineEnd::write(const QByteArray& bytes)
{
    if (!open_ || bytes.isEmpty())
        return;
    LineEnd* peer = peer_;
    const bool garbled = !(settings_ == peer->settings_);
    if (peer->open_) {
        const std::uint64_t generation = peer->generation_;
        QMetaObject::invokeMethod(
            peer,
            [peer, bytes, garbled, generation] {
                if (peer->open_ && peer->generation_ == generation)
                    peer->deliver(bytes, garbled);
            },
            Qt::QueuedConnection);
    }
    // One notice when the last of a burst of writes has gone, as a port
    // reports its transmit queue running empty.
    ++inFlight_;
    const std::uint64_t ownGeneration = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, ownGeneration] {
            if (inFlight_ > 0)
                --inFlight_;
            if (open_ && generation_ == ownGeneration && inFlight_ == 0)
                emit allWritten();
        },
        Qt::QueuedConnection);
}

void LineEnd::deliver(const QByteArray& bytes, bool garbled)
{
    if (garbled) {
        ++lineErrors_;
        QByteArray noise = bytes;
        for (char& c : noise)
            c = static_cast<char>(VirtualLine::Garble(static_cast<std::uint8_t>(c)));
        rx_.append(noise);
    } else {
        rx_.append(bytes);
    }
    emit readyRead();
}

QByteArray LineEnd::readAll()
{
    QByteArray bytes;
    bytes.swap(rx_);
    return bytes;
}

VirtualLine::VirtualLine(QObject* parent) : QObject(parent), host_(this), device_(this)
{
    host_.peer_ = &device_;
    device_.peer_ = &host_;
    // The module side listens as long as the line exists.
    device_.setOpen(true);
}

VirtualLine::~VirtualLine()
{
    unpublish();
    cut();
}

void VirtualLine::publish(int portNo)
{
    unpublish();
    if (portNo < 1)
        return;
    Registry()[portNo] = this;
    portNo_ = portNo;
}

void VirtualLine::unpublish()
{
    auto& lines = Registry();
    auto it = lines.find(portNo_);
    if (it != lines.end() && it->second == this)
        lines.erase(it);
    portNo_ = 0;
}

void VirtualLine::cut()
{
    if (host_.isOpen())
        emit cutOff();
}

VirtualLine* VirtualLine::published(int portNo)
{
    auto& lines = Registry();
    auto it = lines.find(portNo);
    return it == lines.end() ? nullptr : it->second;
}

std::uint8_t VirtualLine::Garble(std::uint8_t byte)
{
    // A start bit found inside the character: everything shifts and the high
    // bit reads as the idle level.
    return static_cast<std::uint8_t>((byte >> 1) | 0x80);
}

VirtualPortTransport::VirtualPortTransport(VirtualLine& line, QObject* parent) : SerialTransport(parent), line_(&line)
{
    LineEnd& host = line.host();
    connect(&host, &LineEnd::readyRead, this, [this] {
        if (open_)
            emit readyRead();
    });
    connect(&host, &LineEnd::allWritten, this, [this] {
        if (open_)
            emit allWritten();
    });
    connect(&line, &VirtualLine::cutOff, this, [this] {
        if (!open_)
            return;
        close();
        emit lost();
    });
}

VirtualPortTransport::~VirtualPortTransport()
{
    close();
}

void VirtualPortTransport::open(const LineSettings& settings)
{
    if (open_)
        return;
    // One look at the weak pointer: the line cannot go away while we open.
    VirtualLine* line = line_.data();
    if (!line)
        throw ECommError(OpenFailureText(QStringLiteral("the port does not exist (is the adapter plugged in?)")));
    LineEnd& host = line->host();
    if (host.isOpen())
        throw ECommError(OpenFailureText(QStringLiteral("the port is in use by another program (ModemManager, brltty or a terminal program)")));
    // Same rule as a Linux port: CS5..CS8 only.
    if (settings.dataBits < 5 || settings.dataBits > 8)
        throw ECommError(SettingsFailureText(QStringLiteral("%1 data bits are not supported").arg(settings.dataBits)));
    if (settings.baud <= 0)
        throw ECommError(SettingsFailureText(QStringLiteral("unknown baud rate")));
    host.setSettings(settings);
    host.setOpen(true);
    open_ = true;
    errorsAtOpen_ = host.lineErrorCount();
}

void VirtualPortTransport::close()
{
    if (!open_)
        return;
    open_ = false;
    if (line_)
        line_->host().setOpen(false);
}

bool VirtualPortTransport::isOpen() const
{
    return open_;
}

void VirtualPortTransport::write(const QByteArray& bytes)
{
    if (open_ && line_)
        line_->host().write(bytes);
}

QByteArray VirtualPortTransport::readAll()
{
    VirtualLine* line = line_.data();
    return open_ && line ? line->host().readAll() : QByteArray();
}

std::uint64_t VirtualPortTransport::lineErrorCount()
{
    VirtualLine* line = line_.data();
    return open_ && line ? line->host().lineErrorCount() - errorsAtOpen_ : 0;
}

} // namespace radioset
