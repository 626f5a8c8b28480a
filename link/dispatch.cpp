#include "link/dispatch.h"

#include "freqplan/transfer.h"
#include "link/detection.h"
#include "link/frame.h"
#include "module/parameter_commands.h"
#include "platform/serial/comm_device.h"
#include "shell/form1.h"
#include "texts/texts.h"

#include <QTimer>

namespace radioset {

void ReceivePackage(TForm1& f, int notifyType)
{
    // Always consume first, so a package that is about to be discarded does
    // not stay in the queue and crowd out later ones.
    const int n = f.ZelCommDevice1->ReadPackage(f.RxBuffer.data(), static_cast<int>(f.RxBuffer.size()));
    if (notifyType & TZelCommDevice::NotifyLineError)
        f.ReceiveHold = true;
    // The hold lasts until 300 ms pass without any notification at all.
    f.Timer2->stop();
    f.Timer2->setInterval(300);
    f.Timer2->start();
    if (n <= 0 || f.ReceiveHold)
        return;
    DispatchResponse(f, f.RxBuffer.data(), n);
}

void DispatchResponse(TForm1& f, const std::uint8_t* buffer, int n)
{
    // A long receive test keeps its newest samples in view.
    if (f.RssiDumpOn) {
        for (int i = 0; i < n; ++i)
            f.Memo1->AppendLine(QStringLiteral("RSSI:%1").arg(buffer[i]), Memo::Overflow::DropOldest);
    }
    const std::optional<ParsedFrame> frame = ParseFrame(buffer, n);
    if (!frame)
        return;
    switch (frame->command) {
    case RspCmdOk:
        f.StatusBar1->SetPanelText(2, LocalizedText(StrCmdSucceed));
        if (f.BulkWriteActive)
            AdvanceFrequencyWrite(f);
        break;
    case RspAirRate:
        ShowAirRate(f, *frame);
        break;
    case RspChannel:
        ShowChannel(f, *frame);
        break;
    case RspDetect:
        HandleDetectReply(f);
        break;
    case RspPower:
        ShowPower(f, *frame);
        break;
    case RspFrequencySet:
        if (f.BulkWriteActive)
            AdvanceFrequencyWrite(f);
        break;
    case RspFrequency:
        HandleFrequencyReply(f, *frame);
        break;
    default:
        break; // no route: ignored
    }
}

} // namespace radioset
