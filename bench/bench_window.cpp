// Figures for the window as an operator meets it: start-up time and memory,
// CPU with an open silent port, response dispatch throughput, and a
// 16-channel read against the simulated module over a pseudo-terminal.
//
// usage: bench_window [idle-seconds]   (default 10)

#include "bench/process_stats.h"
#include "link/dispatch.h"
#include "link/frame.h"
#include "platform/dialogs.h"
#include "platform/ports.h"
#include "shell/form1.h"
#include "sim/simulated_module.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>


#include <cstdio>
#include <cstdlib>

using namespace radioset;


int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;

    QApplication application(argc, argv);
    SetMessageSink([](const QString&, const QString& text) { std::printf("  (box: %s)\n", qPrintable(text)); });

    QTemporaryDir links;
    SetPortLinkFolder(links.path());
    SimulatedModule module;
    module.attachPty(5);
    SetPortListSource([] { return QStringList{QStringLiteral("COM5")}; });

    // --- start-up -----------------------------------------------------------
    QElapsedTimer startup;
    startup.start();
    TForm1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form, 5000))
        std::printf("  window was never exposed\n");
    const double shownMs = static_cast<double>(startup.nsecsElapsed()) / 1e6;
    std::printf("start-up: window shown %.1f ms after construction began, %.1f ms after main(); resident %.1f MiB\n",
                shownMs, static_cast<double>(sinceStart.nsecsElapsed()) / 1e6, bench::ResidentMiB());

    {
        QElapsedTimer paint;
        paint.start();
        for (int i = 0; i < 20; ++i)
            form.repaint();
        std::printf("paint: whole window %.2f ms\n", static_cast<double>(paint.nsecsElapsed()) / 1e6 / 20);
        form.PageControl1->setCurrentWidget(form.TabSheet2);
        QLineEdit* edit = form.FindEdit(QStringLiteral("TxEdit3"));
        paint.restart();
        for (int i = 0; i < 20; ++i) {
            edit->setText(QString::number(400 + i));
            edit->repaint();
        }
        std::printf("paint: one frequency edit %.2f ms\n", static_cast<double>(paint.nsecsElapsed()) / 1e6 / 20);
        form.PageControl1->setCurrentWidget(form.TabSheet1);
    }

    // --- idle port ----------------------------------------------------------
    form.Button1->click();
    const double cpuBefore = bench::CpuSeconds();
    {
        QEventLoop idle;
        QTimer::singleShot(idleSeconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
    }
    const double idleCpu = bench::CpuSeconds() - cpuBefore;
    std::printf("idle: port open and silent for %d s: %.3f s CPU (%.2f%% of one core)\n", idleSeconds, idleCpu,
                100.0 * idleCpu / idleSeconds);

    // --- dispatch throughput ------------------------------------------------
    const QByteArray ack = MakeFrame(RspCmdOk, {});
    const QByteArray channel = MakeFrame(RspChannel, {0x05});
    const QByteArray junk(64, '\x37');
    const struct {
        const char* what;
        const QByteArray& package;
    } kinds[] = {{"acknowledgement", ack}, {"channel reply", channel}, {"invalid 64 bytes", junk}};
    for (const auto& kind : kinds) {
        constexpr int rounds = 200000;
        const auto* data = reinterpret_cast<const std::uint8_t*>(kind.package.constData());
        const int n = static_cast<int>(kind.package.size());
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < rounds; ++i)
            DispatchResponse(form, data, n);
        const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
        std::printf("dispatch: %-17s %9.0f packages/s (%.2f us each)\n", kind.what, rounds / seconds,
                    seconds / rounds * 1e6);
    }

    // --- 16-channel read over a pty ------------------------------------------
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    QElapsedTimer clock;
    clock.start();
    if (std::getenv("BENCH_TRACE")) {
        QObject::connect(&module, &SimulatedModule::frameReceived, [&](const QByteArray& f) { std::printf("  %6.1f sim heard %s\n", static_cast<double>(clock.nsecsElapsed()) / 1e6, f.toHex(' ').constData()); });
        QObject::connect(&module, &SimulatedModule::replied, [&](const QByteArray& f) { std::printf("  %6.1f sim replied %lld bytes\n", static_cast<double>(clock.nsecsElapsed()) / 1e6, static_cast<long long>(f.size())); });
        QObject::connect(form.ZelCommDevice1, &TZelCommDevice::OnPackage, [&](int t) { std::printf("  %6.1f package %d\n", static_cast<double>(clock.nsecsElapsed()) / 1e6, t); });
    }
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        form.Button13->click();
        // A real event loop, as the program runs: QTest::qWaitFor sleeps 10 ms
        // between its passes and would add that to every reply.
        auto* last = form.FindEdit(QStringLiteral("RxEdit16"));
        QEventLoop loop;
        QObject::connect(last, &QLineEdit::textChanged, &loop, [&] {
            if (!last->text().isEmpty())
                loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        if (last->text().isEmpty()) {
            std::printf("read: channel 16 never arrived\n");
            break;
        }
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const double floorMs = 16.0 * form.ZelCommDevice1->PackageInterval();
        std::printf("read 1..16 at 9600 baud over a pty: %.1f ms, floor 16 x %d ms = %.0f ms, ratio %.3f\n", ms,
                    form.ZelCommDevice1->PackageInterval(), floorMs, ms / floorMs);
        QTest::qWait(200);
    }

    SetPortListSource({});
    SetPortLinkFolder({});
    return 0;
}
