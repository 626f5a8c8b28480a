#pragma once

#include "link/frame.h"

class QLineEdit;

namespace radioset {

class TForm1;

void SetSerialRate(TForm1& form);   // Button4
void ReadAirRate(TForm1& form);     // Button5
void SetAirRate(TForm1& form);      // Button6
// The working channel, from the parameter page (Edit1) or the factory
// page (Edit4).
void ReadChannel(TForm1& form, QLineEdit* edit);
void SetChannel(TForm1& form, QLineEdit* edit);
void ReadPower(TForm1& form);       // Button23
void SetPower(TForm1& form);        // Button24
void SetWorkMode(TForm1& form);     // Button12
void WorkModeChanged(TForm1& form); // ComboBox9
void SetFrameHead(TForm1& form);    // Button25

// Effects of the module's replies.
void ShowAirRate(TForm1& form, const ParsedFrame& frame);
void ShowChannel(TForm1& form, const ParsedFrame& frame);
void ShowPower(TForm1& form, const ParsedFrame& frame);

} // namespace radioset
