#include "module/parameter_commands.h"

#include "shell/form1.h"

namespace radioset {

void SetSerialRate(TForm1&) {}
void ReadAirRate(TForm1&) {}
void SetAirRate(TForm1&) {}
void ReadPower(TForm1&) {}
void SetPower(TForm1&) {}
void SetWorkMode(TForm1&) {}
void WorkModeChanged(TForm1&) {}
void SetFrameHead(TForm1&) {}
void ReadChannel(TForm1&, QLineEdit*) {}
void SetChannel(TForm1&, QLineEdit*) {}
void ShowAirRate(TForm1&, const ParsedFrame&) {}
void ShowChannel(TForm1&, const ParsedFrame&) {}
void ShowPower(TForm1&, const ParsedFrame&) {}

} // namespace radioset
