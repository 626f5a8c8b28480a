// How long after the idle gap a package reaches its handler, over a real
// pseudo-terminal: latency = (handler time - time the last byte was written)
// - PackageInterval. Target: p99 within 2 ms.
//
//   bench_packaging [--samples N] [--interval ms] [--bytes n]

#include "platform/ports.h"
#include "platform/serial/comm_device.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <vector>

using namespace radioset;

namespace {

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int samples = 200;
    int interval = 50;
    int bytes = 15;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--samples") == 0)
            samples = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--interval") == 0)
            interval = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--bytes") == 0)
            bytes = std::atoi(argv[i + 1]);
    }
    samples = std::max(samples, 1);
    bytes = std::clamp(bytes, 1, 4096);

    QTemporaryDir folder;
    SetPortLinkFolder(folder.path());
    constexpr int Port = 60;
    SimulatedModule module;
    module.attachPty(Port);

    TZelCommDevice device;
    device.SetPortNo(Port);
    device.SetPackageInterval(interval);
    device.SetActive(true);

    QElapsedTimer clock;
    clock.start();
    qint64 lastByteNs = 0;
    std::vector<double> latencies;
    latencies.reserve(static_cast<std::size_t>(samples));
    const QByteArray burst(bytes, '\x5A');

    auto sendOne = [&] {
        module.sendRaw(burst);
        lastByteNs = clock.nsecsElapsed();
    };
    QObject::connect(&device, &TZelCommDevice::OnPackage, [&](int type) {
        if (type != 1)
            return;
        const qint64 now = clock.nsecsElapsed();
        std::uint8_t buffer[4096];
        device.ReadPackage(buffer, sizeof buffer);
        latencies.push_back(static_cast<double>(now - lastByteNs) / 1e6 - interval);
        if (static_cast<int>(latencies.size()) >= samples)
            QCoreApplication::quit();
        else
            QTimer::singleShot(5, sendOne);
    });
    QTimer::singleShot(20, sendOne);
    QCoreApplication::exec();

    std::printf("bench_packaging: %d packages of %d bytes over a pty, PackageInterval %d ms\n",
                static_cast<int>(latencies.size()), bytes, interval);
    std::printf("hand-over after the gap: p50 %.3f ms  p99 %.3f ms  max %.3f ms  (target p99 <= 2 ms)\n",
                Percentile(latencies, 0.50), Percentile(latencies, 0.99),
                *std::max_element(latencies.begin(), latencies.end()));
    device.SetActive(false);
    module.detach();
    return 0;
}
