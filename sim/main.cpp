// radioset-sim: plays the radio module behind a pseudo-terminal published as
// a COM port, until interrupted.

#include "platform/ports.h"
#include "sim/simulated_module.h"

#include "platform/exceptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool ParseParity(const QString& text, radioset::TParity& parity)
{
    const QString t = text.toLower();
    if (t == QLatin1String("none") || t == QLatin1String("n"))
        parity = radioset::ptNoParity;
    else if (t == QLatin1String("odd") || t == QLatin1String("o"))
        parity = radioset::ptOddParity;
    else if (t == QLatin1String("even") || t == QLatin1String("e"))
        parity = radioset::ptEvenParity;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("radioset-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated radio module on a pseudo-terminal, published as a COM port for radioset."));
    parser.addHelpOption();
    // COM1 is the kernel console on many machines; a stale link there would
    // send the program to it, so the default keeps clear of the low numbers.
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("COM number to publish (default 9)."),
                                        QStringLiteral("n"), QStringLiteral("9"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Module baud rate (default 9600)."),
                                        QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption parityOption(QStringLiteral("parity"),
                                          QStringLiteral("Module parity: none, odd or even (default none). A pty "
                                                         "cannot carry parity; it is only reported."),
                                          QStringLiteral("parity"), QStringLiteral("none"));
    const QCommandLineOption folderOption(QStringLiteral("link-folder"),
                                          QStringLiteral("Folder of the COMn links (default: radioset's)."),
                                          QStringLiteral("dir"));
    const QCommandLineOption ackOption(QStringLiteral("frequency-ack"),
                                       QStringLiteral("Answer to a frequency set: ok (0x20) or set (0x58, default)."),
                                       QStringLiteral("kind"), QStringLiteral("set"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"), QStringLiteral("Print every frame heard."));
    parser.addOptions({portOption, baudOption, parityOption, folderOption, ackOption, verboseOption});
    parser.process(app);

    QTextStream err(stderr);
    QTextStream out(stdout);
    bool ok = false;
    const int port = parser.value(portOption).toInt(&ok);
    if (!ok || port < 1) {
        err << "radioset-sim: --port needs a number of at least 1\n";
        return 2;
    }
    const int baud = parser.value(baudOption).toInt(&ok);
    if (!ok || baud <= 0) {
        err << "radioset-sim: --baud needs a positive number\n";
        return 2;
    }
    radioset::TParity parity = radioset::ptNoParity;
    if (!ParseParity(parser.value(parityOption), parity)) {
        err << "radioset-sim: --parity is none, odd or even\n";
        return 2;
    }
    if (parser.isSet(folderOption))
        radioset::SetPortLinkFolder(parser.value(folderOption));

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        err << "radioset-sim: cannot create the signal pipe\n";
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);

    radioset::SimulatedModule module;
    module.setLineSettings(baud, parity);
    if (parser.value(ackOption) == QLatin1String("ok"))
        module.setFrequencyAck(radioset::SimulatedModule::FrequencyAck::CmdOk);
    if (parser.isSet(verboseOption)) {
        QObject::connect(&module, &radioset::SimulatedModule::frameReceived, &app, [&out](const QByteArray& frame) {
            out << "<- " << frame.toHex(' ').toUpper() << '\n';
            out.flush();
        });
        QObject::connect(&module, &radioset::SimulatedModule::replied, &app, [&out](const QByteArray& bytes) {
            out << "-> " << bytes.toHex(' ').toUpper() << '\n';
            out.flush();
        });
    }

    try {
        const QString slave = module.attachPty(port);
        out << radioset::PortName(port) << ' ' << module.linkPath() << " -> " << slave << '\n';
        out.flush();
    } catch (const radioset::Exception& e) {
        err << "radioset-sim: " << e.message() << '\n';
        return 1;
    }

    const int rc = QCoreApplication::exec();
    module.detach(); // removes the link
    return rc;
}
