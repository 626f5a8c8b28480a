#include "link/transmit.h"

#include "link/frame.h"
#include "platform/dialogs.h"
#include "platform/serial/comm_device.h"
#include "shell/form1.h"
#include "texts/texts.h"

namespace radioset {

void BeginFrame(TForm1& f, std::uint8_t length, std::uint8_t command)
{
    f.TxBuffer[0] = FrameHead0;
    f.TxBuffer[1] = FrameHead1;
    f.TxBuffer[2] = length;
    f.TxBuffer[3] = command;
}

void FinishFrame(TForm1& f)
{
    StoreFrameChecksum(f.TxBuffer.data());
    SendFrame(f, f.TxBuffer.data(), f.TxBuffer[2] + 4);
}

void SendRequest(TForm1& f, std::uint8_t command, std::initializer_list<std::uint8_t> payload)
{
    BeginFrame(f, static_cast<std::uint8_t>(2 + payload.size()), command);
    std::size_t at = 4;
    for (std::uint8_t byte : payload)
        f.TxBuffer.at(at++) = byte;
    FinishFrame(f);
}

void SendFrame(TForm1& f, const std::uint8_t* frame, int length)
{
    if (!f.ZelCommDevice1->Active()) {
        ShowMessage(LocalizedText(StrOpenPortFirst));
        return;
    }
    f.StatusBar1->SetPanelText(2, QStringLiteral(" "));
    f.ZelCommDevice1->WritePackage(frame, length);
}

} // namespace radioset
