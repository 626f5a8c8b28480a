#include "platform/serial/transport.h"

#include "platform/ports.h"
#include "platform/serial/qt_transport.h"
#include "platform/serial/virtual_line.h"

namespace radioset {

namespace {

TransportFactory& FactoryOverride()
{
    static TransportFactory factory;
    return factory;
}

} // namespace

int BaudRateValue(TBaudRate rate)
{
    static constexpr int values[] = {110,   300,   600,   1200,   2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
    const int index = static_cast<int>(rate);
    if (index < 0 || index >= static_cast<int>(std::size(values)))
        return 0;
    return values[index];
}

void SetTransportFactory(TransportFactory factory)
{
    FactoryOverride() = std::move(factory);
}

std::unique_ptr<SerialTransport> CreateDefaultTransport(int portNo)
{
    if (portNo < 1)
        return nullptr;
    if (VirtualLine* line = VirtualLine::published(portNo))
        return std::make_unique<VirtualPortTransport>(*line);
    const QString device = PortDevice(portNo);
    if (device.isEmpty())
        return nullptr;
    return std::make_unique<QtSerialTransport>(device);
}

std::unique_ptr<SerialTransport> CreateTransport(int portNo)
{
    if (FactoryOverride())
        return FactoryOverride()(portNo);
    return CreateDefaultTransport(portNo);
}

QString OpenFailureText(const QString& detail)
{
    const QString text = QStringLiteral("Cannot open COM port");
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
}

QString SettingsFailureText(const QString& detail)
{
    const QString text = QStringLiteral("Cannot set COM port parameters");
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
}

} // namespace radioset
