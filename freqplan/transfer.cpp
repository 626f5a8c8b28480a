#include "freqplan/transfer.h"

#include "shell/form1.h"

namespace radioset {

void StartFrequencyRead(TForm1&, int) {}
void StartFrequencyWrite(TForm1&, int) {}
void HandleFrequencyReply(TForm1&, const ParsedFrame&) {}
void AdvanceFrequencyWrite(TForm1&) {}

} // namespace radioset
