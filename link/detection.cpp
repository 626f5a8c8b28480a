#include "link/detection.h"

#include "link/frame.h"
#include "link/serial_link.h"
#include "link/transmit.h"
#include "platform/dialogs.h"
#include "platform/serial/comm_device.h"
#include "shell/form1.h"
#include "texts/texts.h"

#include <QScopedValueRollback>
#include <QTimer>

#include <array>

namespace radioset {

namespace {

constexpr std::uint32_t kSettings = 18; // 6 baud rates x 3 parities
constexpr int kTickMs = 500;

constexpr std::array<TBaudRate, 6> kSweepBauds{br1200, br2400, br4800, br9600, br19200, br38400};
constexpr std::array<TParity, 3> kSweepParities{ptNoParity, ptOddParity, ptEvenParity};

// A list the operator typed into has no selected item. The sweep then
// starts from the setting the port really uses, which is what the first
// attempt goes out at, so the first memo line names it truthfully.
template <class Value, std::size_t N>
std::uint32_t indexFor(const ComboBox* box, const std::array<Value, N>& values, Value current)
{
    const int selected = box->currentIndex();
    if (selected >= 0 && static_cast<std::size_t>(selected) < N)
        return static_cast<std::uint32_t>(selected);
    for (std::size_t i = 0; i < N; ++i)
        if (values[i] == current)
            return static_cast<std::uint32_t>(i);
    return 0;
}

void logAttempt(TForm1& f)
{
    f.SweepLine.clear();
    f.SweepLine += SweepLabels().at(static_cast<qsizetype>(f.SweepIndex));
    f.SweepLine += LocalizedText(StrDetectRadio);
    f.Memo1->AppendLine(f.SweepLine);
}

// A tick can open a message box (a setting the port refuses); its nested
// event loop must not run further ticks inside this one.
bool tickRunning = false;

} // namespace

void StartDetection(TForm1& f)
{
    if (!f.ZelCommDevice1->Active()) {
        ShowMessage(LocalizedText(StrOpenPortFirst));
        return;
    }
    SendRequest(f, CmdDetect, {0x00, 0x00});
    f.Memo1->clear();
    f.Timer1->stop();
    f.Timer1->setInterval(kTickMs);
    f.Timer1->start();
    f.SweepTries = 0;
    f.SweepIndex = indexFor(f.ComboBox2, kSweepBauds, f.ZelCommDevice1->Baud()) * 3 +
                   indexFor(f.ComboBox4, kSweepParities, f.ZelCommDevice1->Parity());
    logAttempt(f);
    f.RadioDetected = 0;
}

void DetectionTick(TForm1& f)
{
    if (tickRunning)
        return;
    const QScopedValueRollback<bool> running(tickRunning, true);

    if (f.RadioDetected) {
        f.Timer1->stop();
        return;
    }
    f.SweepIndex += 1;
    if (f.SweepIndex > kSettings - 1)
        f.SweepIndex = 0;
    logAttempt(f);
    f.ComboBox2->setCurrentIndex(static_cast<int>(f.SweepIndex / 3));
    f.ComboBox4->setCurrentIndex(static_cast<int>(f.SweepIndex % 3));
    ClosePort(f);
    OpenPortFromSettings(f);
    // The first 8 bytes of the buffer as they stand: a command sent since
    // the click has replaced the detect request, and goes out instead.
    SendFrame(f, f.TxBuffer.data(), 8);
    f.SweepTries += 1;
    if (f.SweepTries > kSettings - 1) {
        f.Timer1->stop();
        ShowMessage(LocalizedText(StrConnectErr));
    }
}

void HandleDetectReply(TForm1& f)
{
    if (f.RadioDetected)
        return;
    f.RadioDetected = 1;
    f.Memo1->AppendLine(LocalizedText(StrConnectOk));
    // The module's own rate and parity lists mirror the line-setting lists.
    f.ComboBox6->setCurrentIndex(f.ComboBox2->currentIndex());
    f.ComboBox8->setCurrentIndex(f.ComboBox4->currentIndex());
}

} // namespace radioset
