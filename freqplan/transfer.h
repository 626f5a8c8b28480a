#pragma once

#include "link/frame.h"

#include <cstdint>

namespace radioset {

class TForm1;

// Read or write the sixteen channels of one half of the plan, starting at
// channel 1 or 17, one request per reply.
void StartFrequencyRead(TForm1& form, int firstChannel);
void StartFrequencyWrite(TForm1& form, int firstChannel);

// Effects of the module's replies (routed by the dispatcher).
void HandleFrequencyReply(TForm1& form, const ParsedFrame& frame);
void AdvanceFrequencyRead(TForm1& form);
void AdvanceFrequencyWrite(TForm1& form);

// One channel's request: the read request, or the channel's two
// frequencies. SendChannelFrequency checks the channel's texts first and
// sends nothing when they fail (a message, or a conversion error thrown);
// it returns whether the frame went to an open port.
void RequestChannelFrequency(TForm1& form, std::uint8_t channel);
bool SendChannelFrequency(TForm1& form, std::uint8_t channel);

} // namespace radioset
