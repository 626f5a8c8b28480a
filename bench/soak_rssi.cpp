// Soak: the receive test's signal-strength stream from the simulated module,
// over a real pseudo-terminal, into the real window (offscreen) for a while.
// Prints resident memory at the start and the end (and once a minute), the
// CPU time used and the packages handled. Memory should stay flat: the memo
// keeps only its newest lines and nothing else grows with the stream.
//
//   soak_rssi [seconds]        default 20; 600 for the ten-minute soak

#include "bench/process_stats.h"
#include "platform/dialogs.h"
#include "platform/ports.h"
#include "shell/form1.h"
#include "sim/simulated_module.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace radioset;
using bench::CpuSeconds;
using bench::ResidentMiB;

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    QTemporaryDir links;
    SetPortLinkFolder(links.path());
    constexpr int Port = 61;
    SimulatedModule module;
    module.attachPty(Port);
    SetPortListSource([] { return QStringList{PortName(Port)}; });
    int boxes = 0;
    SetMessageSink([&](const QString&, const QString& text) {
        ++boxes;
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
    });

    TForm1 form;
    form.show();
    long packages = 0;
    QObject::connect(form.ZelCommDevice1, &TZelCommDevice::OnPackage, [&](int type) {
        if (type == TZelCommDevice::NotifyPackage)
            ++packages;
    });
    form.Button1->click();  // open
    form.Button17->click(); // receive test: the module streams, the memo dumps

    // Let the window settle (fonts, first layout, the memo filling up)
    // before the starting figures are taken.
    QElapsedTimer clock;
    double rssStart = 0;
    double cpuStart = 0;
    long packagesStart = 0;
    QTimer::singleShot(2000, [&] {
        rssStart = ResidentMiB();
        cpuStart = CpuSeconds();
        packagesStart = packages;
        clock.start();
        std::printf("start: resident %.1f MiB, stream running: %s\n", rssStart, module.rxTestRunning() ? "yes" : "no");
        std::fflush(stdout);
    });
    QTimer minute;
    QObject::connect(&minute, &QTimer::timeout, [&] {
        std::printf("%4lld s: resident %.1f MiB, packages %ld\n", clock.elapsed() / 1000, ResidentMiB(),
                    packages - packagesStart);
        std::fflush(stdout);
    });
    QTimer::singleShot(2000, [&] { minute.start(60000); });
    QTimer::singleShot(2000 + seconds * 1000, [&] { app.quit(); });
    app.exec();

    const double wall = static_cast<double>(clock.elapsed()) / 1000.0;
    const double cpu = CpuSeconds() - cpuStart;
    const double rssEnd = ResidentMiB();
    const long handled = packages - packagesStart;
    std::printf("end after %.0f s: resident %.1f MiB (start %.1f, change %+.1f MiB)\n", wall, rssEnd, rssStart,
                rssEnd - rssStart);
    std::printf("cpu %.2f s (%.1f%% of wall), packages handled %ld (%.1f/s), memo %d characters, boxes %d\n", cpu,
                100.0 * cpu / wall, handled, static_cast<double>(handled) / wall, form.Memo1->Length(), boxes);
    return boxes == 0 && module.rxTestRunning() ? 0 : 1;
}
