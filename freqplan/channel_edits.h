#pragma once

// The frequency edits of the window: which edit holds which channel, the
// check of a channel's two texts with its messages, and the display of a
// received pair.

#include <QString>

#include <cstdint>
#include <span>
#include <utility>

class QGroupBox;
class QLineEdit;

namespace radioset {

class TForm1;

// Channels 1..16 live in GroupBox5, 17..32 in GroupBox6.
QGroupBox* ChannelGroup(TForm1& form, int channel);

// The edit "TxEdit<n>" or "RxEdit<n>" of the channel's group, by its whole
// name, so channel 1 never finds TxEdit10; null for a channel without edits.
QLineEdit* TxFrequencyEdit(TForm1& form, int channel);
QLineEdit* RxFrequencyEdit(TForm1& form, int channel);

// (transmit text, receive text); empty for an edit that is not there.
std::pair<QString, QString> ChannelFrequencyTexts(TForm1& form, int channel);

// True when both texts are frequencies the module can be sent. Both are read
// as numbers first (a text that is not one throws EConvertError); then the
// transmit text is judged, then the receive text, and the first that fails
// is named in a message box and false is returned.
bool CheckChannelFrequency(int channel, const QString& txText, const QString& rxText);

// Writes a received pair (4 transmit bytes, 4 receive bytes) into the
// channel's edits; a channel without edits changes nothing.
void ShowChannelFrequency(TForm1& form, int channel, std::span<const std::uint8_t, 8> bytes);

} // namespace radioset
