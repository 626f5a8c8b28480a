#pragma once

#include <cstdint>
#include <initializer_list>

namespace radioset {

class TForm1;

// Every request is built in the window's TxBuffer, which is never cleared:
// a builder overwrites only its own frame's positions, and the detection
// sweep re-sends the first 8 bytes as they stand.
//
// A builder writes the head, length and command first (BeginFrame), then
// its payload at positions 4 .. L+1 (reading a control may throw here, and
// then nothing is sent), then FinishFrame stores the checksum and sends.
void BeginFrame(TForm1& form, std::uint8_t length, std::uint8_t command);
void FinishFrame(TForm1& form);

// Whole requests whose payload is known up front.
void SendRequest(TForm1& form, std::uint8_t command, std::initializer_list<std::uint8_t> payload);

// With the port open: a blank in status panel 2, then the bytes to the
// line. With it closed: "open the port first" in a box, nothing sent.
void SendFrame(TForm1& form, const std::uint8_t* frame, int length);

} // namespace radioset
