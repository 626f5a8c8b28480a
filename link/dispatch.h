#pragma once

#include <cstdint>

namespace radioset {

class TForm1;

// One notification of the serial component: takes the waiting package (if
// any) out, holds reception for 300 ms after a line error, and hands what
// remains to DispatchResponse.
void ReceivePackage(TForm1& form, int notifyType);

// Dumps the bytes when the signal-strength dump is on, then accepts the
// package only as exactly one valid frame and routes it by its command.
// Anything else is dropped without a word.
void DispatchResponse(TForm1& form, const std::uint8_t* buffer, int n);

} // namespace radioset
