#include "freqplan/transfer.h"

#include "freqplan/channel_edits.h"
#include "freqplan/codec.h"
#include "link/transmit.h"
#include "platform/serial/comm_device.h"
#include "shell/form1.h"

#include <QGroupBox>
#include <QLineEdit>

#include <algorithm>

namespace radioset {

namespace {

// The value a counter takes once its sequence has passed the last channel
// of a half.
bool IsStopValue(std::uint8_t channel)
{
    return channel == 17 || channel == 33;
}

// Frequency bytes of a reply: channel, then 4 transmit and 4 receive bytes.
constexpr qsizetype ReplyPayloadSize = 9;

} // namespace

void RequestChannelFrequency(TForm1& f, std::uint8_t channel)
{
    SendRequest(f, CmdReadFrequency, {channel, 0x00});
}

bool SendChannelFrequency(TForm1& f, std::uint8_t channel)
{
    const auto [txText, rxText] = ChannelFrequencyTexts(f, channel);
    if (!CheckChannelFrequency(channel, txText, rxText))
        return false;

    // Encoded from the value the text means, so every accepted spelling
    // fills all four bytes of its field with the frequency it names.
    const FrequencyBytes tx = EncodeFrequency(txText);
    const FrequencyBytes rx = EncodeFrequency(rxText);
    BeginFrame(f, 0x0B, CmdSetFrequency);
    f.TxBuffer[4] = channel;
    std::copy(tx.begin(), tx.end(), f.TxBuffer.begin() + 5);
    std::copy(rx.begin(), rx.end(), f.TxBuffer.begin() + 9);
    const bool sent = f.ZelCommDevice1->Active();
    FinishFrame(f);
    // Shown even when the port was closed and nothing went out, as the
    // operator's tool did.
    f.StatusBar1->SetPanelText(2, QStringLiteral("设置第%1信道频率").arg(channel));
    return sent;
}

void StartFrequencyRead(TForm1& f, int firstChannel)
{
    QGroupBox* group = ChannelGroup(f, firstChannel);
    for (QLineEdit* edit : group->findChildren<QLineEdit*>()) {
        if (edit->objectName().contains(QStringLiteral("Edit")))
            edit->clear();
    }
    f.NextReadChannel = static_cast<std::uint8_t>(firstChannel);
    RequestChannelFrequency(f, f.NextReadChannel);
}

void StartFrequencyWrite(TForm1& f, int firstChannel)
{
    f.NextWriteChannel = static_cast<std::uint8_t>(firstChannel);
    // Set only once the channel is on its way: a write whose channel could
    // not be sent is over, so that a later acknowledgement of some other
    // command cannot carry on with the channels after it.
    f.BulkWriteActive = false;
    f.BulkWriteActive = SendChannelFrequency(f, f.NextWriteChannel);
}

void HandleFrequencyReply(TForm1& f, const ParsedFrame& frame)
{
    // A reply too short to hold both frequencies shows nothing: the bytes
    // after its end belong to no frame. It still answers the request, so the
    // read goes on and the channel's edits stay as the Read button left them.
    if (frame.payload.size() >= ReplyPayloadSize) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.payload.constData());
        ShowChannelFrequency(f, bytes[0], std::span<const std::uint8_t, 8>(bytes + 1, 8));
    }
    AdvanceFrequencyRead(f);
}

void AdvanceFrequencyRead(TForm1& f)
{
    // No flag marks a read as running: any reply moves the counter on, so a
    // reply nobody asked for still fetches the next channel, and a second
    // reply in flight carries the read past the end of its half.
    ++f.NextReadChannel;
    if (!IsStopValue(f.NextReadChannel))
        RequestChannelFrequency(f, f.NextReadChannel);
}

void AdvanceFrequencyWrite(TForm1& f)
{
    ++f.NextWriteChannel;
    f.BulkWriteActive = false;
    if (!IsStopValue(f.NextWriteChannel))
        f.BulkWriteActive = SendChannelFrequency(f, f.NextWriteChannel);
}

} // namespace radioset
