// Opens the serial device named on the command line, says "ready" and keeps
// it open until stdin closes or it is killed.

#include <QCoreApplication>
#include <QSerialPort>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QSerialPort port;
    port.setPortName(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stdout, "failed: %s\n", port.errorString().toLocal8Bit().constData());
        return 1;
    }
    std::fprintf(stdout, "ready\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [] {
        char c = 0;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
