#pragma once

#include "link/frame.h"

namespace radioset {

class TForm1;

// Read or write the sixteen channels of one half of the plan, starting at
// channel 1 or 17, one request per reply.
void StartFrequencyRead(TForm1& form, int firstChannel);
void StartFrequencyWrite(TForm1& form, int firstChannel);

// Effects of the module's replies (routed by the dispatcher).
void HandleFrequencyReply(TForm1& form, const ParsedFrame& frame);
void AdvanceFrequencyWrite(TForm1& form);

} // namespace radioset
