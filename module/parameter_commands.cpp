#include "module/parameter_commands.h"

#include "link/transmit.h"
#include "module/codes.h"
#include "platform/conversions.h"
#include "platform/dialogs.h"
#include "shell/form1.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <cstdint>

namespace radioset {

namespace {

// The code of the selected item, or 0 when none is selected.
template <std::size_t N>
std::uint8_t codeOf(const ComboBox* box, const std::array<std::uint8_t, N>& codes)
{
    const int index = box->currentIndex();
    return index >= 0 && static_cast<std::size_t>(index) < N ? codes[static_cast<std::size_t>(index)] : 0;
}

// The low byte of a number's two's complement: 256 is 00, -1 is FF.
std::uint8_t lowByte(int value)
{
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu);
}

// Replies carry their value at position 4. A frame too short to hold it
// has no value to show: nothing past the frame is ever read.
const std::uint8_t* valueOf(const ParsedFrame& frame)
{
    return frame.payload.isEmpty() ? nullptr : reinterpret_cast<const std::uint8_t*>(frame.payload.constData());
}

void askToChoose()
{
    ShowMessage(QStringLiteral("请选择"));
}

} // namespace

void SetSerialRate(TForm1& f)
{
    SendRequest(f, CmdSetSerialRate, {static_cast<std::uint8_t>(codeOf(f.ComboBox8, kParityBits) | codeOf(f.ComboBox6, kSerialRateBits))});
}

void ReadAirRate(TForm1& f)
{
    f.ComboBox7->setCurrentIndex(-1);
    SendRequest(f, CmdReadAirRate, {0x00});
}

void SetAirRate(TForm1& f)
{
    // Without a chosen rate the frame would carry whatever byte the last
    // command left in the buffer: refuse, as the power level does.
    if (f.ComboBox7->currentIndex() < 0) {
        askToChoose();
        return;
    }
    SendRequest(f, CmdSetAirRate, {kAirRatePrefix, codeOf(f.ComboBox7, kAirRateCodes)});
}

void ReadChannel(TForm1& f, QLineEdit* edit)
{
    edit->setText(QString());
    SendRequest(f, CmdReadChannel, {0x00});
}

void SetChannel(TForm1& f, QLineEdit* edit)
{
    BeginFrame(f, 6, CmdSetChannel);
    f.TxBuffer[4] = lowByte(StrToInt(edit->text())); // may throw: nothing is sent
    f.TxBuffer[5] = 0x00;
    f.TxBuffer[6] = 0x00;
    f.TxBuffer[7] = 0x00;
    FinishFrame(f);
}

void ReadPower(TForm1& f)
{
    f.ComboBox10->setCurrentIndex(-1);
    SendRequest(f, CmdReadPower, {0x00});
}

void SetPower(TForm1& f)
{
    if (f.ComboBox10->currentText().isEmpty()) {
        askToChoose();
        return;
    }
    SendRequest(f, CmdSetPower, {lowByte(f.ComboBox10->currentIndex() + 1)});
}

void SetWorkMode(TForm1& f)
{
    SendRequest(f, CmdSetWorkMode, {f.ComboBox9->currentIndex() == 0 ? kTransparentMode : kFrameHeadMode});
}

void WorkModeChanged(TForm1& f)
{
    // The frame head only means something in frame-head detection mode.
    const bool frameHead = f.ComboBox9->currentIndex() != 0;
    f.Edit3->setEnabled(frameHead);
    f.Button25->setEnabled(frameHead);
}

void SetFrameHead(TForm1& f)
{
    BeginFrame(f, 3, CmdSetFrameHead);
    f.TxBuffer[4] = lowByte(StrToInt(QStringLiteral("0x") + f.Edit3->text()));
    FinishFrame(f);
}

void ShowAirRate(TForm1& f, const ParsedFrame& frame)
{
    const std::uint8_t* value = valueOf(frame);
    if (!value)
        return;
    if (const int index = IndexOfCode(kAirRateCodes, *value); index >= 0)
        f.ComboBox7->setCurrentIndex(index);
}

void ShowChannel(TForm1& f, const ParsedFrame& frame)
{
    if (const std::uint8_t* value = valueOf(frame)) {
        f.Edit1->setText(QString::number(*value));
        f.Edit4->setText(QString::number(*value));
    }
}

void ShowPower(TForm1& f, const ParsedFrame& frame)
{
    if (const std::uint8_t* value = valueOf(frame))
        f.ComboBox10->setCurrentIndex(*value >= kPowerLevelMin && *value <= kPowerLevelMax ? *value - kPowerLevelMin : -1);
}

} // namespace radioset
