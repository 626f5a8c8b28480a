#include "platform/ports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <utility>

namespace radioset {

namespace {

QString& linkFolderOverride()
{
    static QString folder;
    return folder;
}

PortListSource& sourceOverride()
{
    static PortListSource source;
    return source;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads a decimal number the way the runtime's lenient reader does: blanks,
// one sign, then digits until the first non-digit. Saturates instead of
// overflowing so that "COM99999999999" cannot wrap into a small number.
long long leadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 0x7fffffffLL)
            value = 0x7fffffffLL + 1; // out of range either way
    }
    return negative ? -value : value;
}

// "ttyUSB12" -> 12 when the prefix matches and the rest is all digits.
int kernelIndex(QStringView name, QStringView prefix)
{
    if (!name.startsWith(prefix) || name.size() == prefix.size() || name.size() - prefix.size() > 4)
        return -1;
    int index = 0;
    for (QChar c : name.mid(prefix.size())) {
        if (!isDigit(c))
            return -1;
        index = index * 10 + (c.unicode() - u'0');
    }
    return index;
}

std::optional<QStringList> systemPortNames()
{
    QStringList names;
    for (const SystemPort& port : SystemPorts())
        names << port.name;
    return names;
}

} // namespace

int PortNo(QStringView name)
{
    if (name.size() < 3 || name.left(3).compare(u"COM", Qt::CaseInsensitive) != 0)
        return 0;
    const long long value = leadingInteger(name.mid(3));
    if (value < 1 || value > 0x7fffffffLL)
        return 0;
    return static_cast<int>(value);
}

QString PortName(int n)
{
    return QStringLiteral("COM%1").arg(n);
}

// Kernel name prefix and the COM number of its device 0; 100 devices each.
constexpr std::pair<QStringView, int> kBands[] = {
    {u"ttyUSB", 101},
    {u"ttyACM", 201},
    {u"ttyS", 1},
};

int ComNumberOfDevice(QStringView kernelName)
{
    for (const auto& [prefix, first] : kBands) {
        const int index = kernelIndex(kernelName, prefix);
        if (index >= 0 && index < 100)
            return first + index;
    }
    return 0;
}

QString PortLinkFolder()
{
    if (!linkFolderOverride().isEmpty())
        return linkFolderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/radioset/ports");
}

void SetPortLinkFolder(const QString& folder)
{
    linkFolderOverride() = folder;
}

QList<SystemPort> SystemPorts()
{
    std::map<int, QString> byNumber;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const int n = ComNumberOfDevice(info.portName());
        if (n > 0)
            byNumber[n] = info.systemLocation();
    }
    const QDir links(PortLinkFolder());
    for (const QFileInfo& link : links.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const int n = PortNo(link.fileName());
        // Only exact names ("COM7", not "COM7.bak") and links whose target is there.
        if (n > 0 && PortName(n).compare(link.fileName(), Qt::CaseInsensitive) == 0 && link.exists())
            byNumber[n] = link.absoluteFilePath();
    }
    QList<SystemPort> ports;
    for (const auto& [n, device] : byNumber)
        ports.append({PortName(n), device});
    return ports;
}

QString PortDevice(int portNo)
{
    // Straight from the number, without enumerating every port: this runs
    // at each open, and the detection sweep opens twice a second.
    if (portNo < 1)
        return {};
    const QFileInfo link(QDir(PortLinkFolder()).filePath(PortName(portNo)));
    if (link.exists())
        return link.absoluteFilePath();
    for (const auto& [prefix, first] : kBands) {
        if (portNo >= first && portNo < first + 100) {
            const QString device = QStringLiteral("/dev/") + prefix.toString() + QString::number(portNo - first);
            return QFileInfo::exists(device) ? device : QString();
        }
    }
    return {};
}

void SetPortListSource(PortListSource source)
{
    sourceOverride() = std::move(source);
}

QStringList TCommSerialPortInfo::Build(const std::optional<QStringList>& reported)
{
    std::vector<int> numbers;
    if (reported) {
        for (const QString& name : *reported) {
            const int n = radioset::PortNo(name);
            if (n > 0)
                numbers.push_back(n);
        }
    }
    std::stable_sort(numbers.begin(), numbers.end());
    QStringList names;
    for (int n : numbers)
        names << radioset::PortName(n);
    if (names.isEmpty())
        names = {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4")};
    return names;
}

TCommSerialPortInfo::TCommSerialPortInfo()
    : names_(sourceOverride() ? sourceOverride()() : Build(systemPortNames()))
{
}

} // namespace radioset
