#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace radioset {

// The operator picks ports by COM number, as on the module's home platform.
// On Linux a number maps to a device in two ways:
//   * a link named COMn in the port-link folder (default
//     ~/.local/share/radioset/ports) points at any device, a pty included;
//   * otherwise the kernel's name decides: ttyS<k> is COM<k+1>,
//     ttyUSB<k> is COM<k+101>, ttyACM<k> is COM<k+201>.
// A link wins over the kernel name for the same number.
struct SystemPort {
    QString name;   // "COMn"
    QString device; // absolute device path
};

// "COM" (any letter case), then a decimal number as the runtime reads it:
// leading blanks, one sign, digits up to the first non-digit. Anything that
// does not name a port number of at least 1 gives 0.
int PortNo(QStringView name);

// "COM" followed by n in decimal.
QString PortName(int n);

// COM number of a kernel device name such as "ttyUSB0"; 0 when the name
// follows none of the known patterns.
int ComNumberOfDevice(QStringView kernelName);

QString PortLinkFolder();
// Tests and the simulated module point the link folder elsewhere.
void SetPortLinkFolder(const QString& folder);

// Every port the system offers right now, unsorted, links included.
QList<SystemPort> SystemPorts();

// The device behind COMn, or an empty text when no such port exists.
QString PortDevice(int portNo);

// Where the port box's list comes from: by default the list rules applied to
// the system's ports. Tests put their own list here, an empty one included;
// an empty function restores the default.
using PortListSource = std::function<QStringList()>;
void SetPortListSource(PortListSource source);

// The port list offered in the port box, built when it is created: usable
// names only, as "COMn", in ascending port number; COM1 to COM4 when the
// system reports nothing usable.
class TCommSerialPortInfo {
public:
    TCommSerialPortInfo();

    int Count() const { return static_cast<int>(names_.size()); }
    const QString& Name(int index) const { return names_.at(index); }
    const QStringList& Names() const { return names_; }

    static int PortNo(QStringView name) { return radioset::PortNo(name); }
    static QString PortName(int n) { return radioset::PortName(n); }

    // The list rules on their own, for the names a system reports (nothing
    // when its list could not be read).
    static QStringList Build(const std::optional<QStringList>& reported);

private:
    QStringList names_;
};

} // namespace radioset
