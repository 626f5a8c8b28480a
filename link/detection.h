#pragma once

namespace radioset {

class TForm1;

// Detect Radio: sends the detect request at the current setting, then every
// 500 ms at the next of the 18 baud/parity settings until the module
// answers or 18 ticks have passed.
void StartDetection(TForm1& form);
void DetectionTick(TForm1& form);
// The module answered a detect request (first answer after a click only).
void HandleDetectReply(TForm1& form);

} // namespace radioset
