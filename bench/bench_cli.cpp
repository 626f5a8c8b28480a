// Wall time of radioset-cli's "plan write --verify" of 32 channels against
// the simulated module on a pty at 9600 baud, as a ratio to its floor: the
// line time of every frame both ways plus one idle gap per answer (the gap
// that ends each reply package).

#include "cli/cli.h"
#include "link/frame.h"
#include "platform/ports.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    radioset::SetPortLinkFolder(folder.path());
    radioset::SimulatedModule sim;
    sim.attachPty(44);

    QByteArray plan = "[TX]\r\n";
    for (int n = 1; n <= 32; ++n)
        plan += QStringLiteral("TX%1=%2.12500\r\n").arg(n).arg(400 + n).toLatin1();
    plan += "[RX]\r\n";
    for (int n = 1; n <= 32; ++n)
        plan += QStringLiteral("RX%1=%2.50000\r\n").arg(n).arg(400 + n).toLatin1();
    QFile file(folder.filePath(QStringLiteral("plan.ini")));
    if (!file.open(QIODevice::WriteOnly) || file.write(plan) != plan.size())
        return 1;
    file.close();

    constexpr int baud = 9600;
    constexpr int idleGapMs = 50; // the package gap from 9600 baud on
    constexpr int channels = 32;
    // Write: 15-byte request, 6-byte acknowledgement. Read: 8-byte request,
    // 15-byte reply. Ten bits a byte on the line (start, 8 data, stop).
    constexpr int bytes = channels * (15 + 6) + channels * (8 + 15);
    const double floorMs = bytes * 10.0 * 1000.0 / baud + 2.0 * channels * idleGapMs;

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QElapsedTimer timer;
    timer.start();
    const int rc = radioset::cli::Run({QStringLiteral("radioset-cli"), QStringLiteral("plan"), QStringLiteral("write"),
                                       file.fileName(), QStringLiteral("--verify"), QStringLiteral("--port"),
                                       QStringLiteral("COM44"), QStringLiteral("--baud"), QString::number(baud)},
                                      outStream, errStream);
    const double wallMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    sim.detach();
    if (rc != 0) {
        std::fprintf(stderr, "plan write --verify failed (%d): %s\n", rc, qPrintable(err));
        return 1;
    }
    // A pty passes bytes without pacing them at the baud rate, so against
    // the simulated module the line time is mostly not spent; the ratio to
    // the gaps alone shows what the program itself adds.
    const double gapsMs = 2.0 * channels * idleGapMs;
    std::printf("plan write --verify, 32 channels at %d baud: %.0f ms wall, floor %.0f ms "
                "(%d bytes of line time + %d idle gaps of %d ms), ratio %.2f; to the gaps alone %.2f\n",
                baud, wallMs, floorMs, bytes, 2 * channels, idleGapMs, wallMs / floorMs, wallMs / gapsMs);
    return 0;
}
