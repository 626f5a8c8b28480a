#include "freqplan/channel_edits.h"

#include "freqplan/codec.h"
#include "platform/dialogs.h"
#include "shell/form1.h"

#include <QGroupBox>
#include <QLineEdit>

namespace radioset {

namespace {

QLineEdit* FrequencyEdit(TForm1& form, const QString& prefix, int channel)
{
    return ChannelGroup(form, channel)->findChild<QLineEdit*>(prefix + QString::number(channel));
}

// The operator's tool showed these in Simplified Chinese whatever the
// interface language; they are not part of the text table.
QString OutOfRangeMessage(int channel, bool transmit)
{
    return transmit ? QStringLiteral("第%1信道发射频率超出允许范围！").arg(channel)
                    : QStringLiteral("第%1信道接收频率超出允许范围！").arg(channel);
}

QString TooFineMessage(int channel, bool transmit)
{
    return transmit ? QStringLiteral("第%1信道发射频率最多五位小数！").arg(channel)
                    : QStringLiteral("第%1信道接收频率最多五位小数！").arg(channel);
}

bool Accept(int channel, bool transmit, FrequencyFit fit)
{
    switch (fit) {
    case FrequencyFit::Fits:
        return true;
    case FrequencyFit::OutOfRange:
        ShowMessage(OutOfRangeMessage(channel, transmit));
        return false;
    case FrequencyFit::TooFine:
        ShowMessage(TooFineMessage(channel, transmit));
        return false;
    }
    return false;
}

} // namespace

QGroupBox* ChannelGroup(TForm1& form, int channel)
{
    return channel >= 17 ? form.GroupBox6 : form.GroupBox5;
}

QLineEdit* TxFrequencyEdit(TForm1& form, int channel)
{
    return FrequencyEdit(form, QStringLiteral("TxEdit"), channel);
}

QLineEdit* RxFrequencyEdit(TForm1& form, int channel)
{
    return FrequencyEdit(form, QStringLiteral("RxEdit"), channel);
}

std::pair<QString, QString> ChannelFrequencyTexts(TForm1& form, int channel)
{
    const QLineEdit* tx = TxFrequencyEdit(form, channel);
    const QLineEdit* rx = RxFrequencyEdit(form, channel);
    return {tx ? tx->text() : QString(), rx ? rx->text() : QString()};
}

bool CheckChannelFrequency(int channel, const QString& txText, const QString& rxText)
{
    // Both are read before either is judged: a receive text that is not a
    // number is reported even when the transmit value is out of range.
    const FrequencyFit tx = CheckFrequencyText(txText);
    const FrequencyFit rx = CheckFrequencyText(rxText);
    return Accept(channel, true, tx) && Accept(channel, false, rx);
}

void ShowChannelFrequency(TForm1& form, int channel, std::span<const std::uint8_t, 8> bytes)
{
    QLineEdit* tx = TxFrequencyEdit(form, channel);
    QLineEdit* rx = RxFrequencyEdit(form, channel);
    if (tx)
        tx->setText(FrequencyText(bytes.first<4>()));
    if (rx)
        rx->setText(FrequencyText(bytes.last<4>()));
}

} // namespace radioset
