#pragma once

namespace radioset {

class TForm1;

void StartCarrierTest(TForm1& form);  // Button9
void StartZeroOneTest(TForm1& form);  // Button10
void StartRxTest(TForm1& form);       // Button17
void StopTest(TForm1& form);          // Button18
void TrimUpFine(TForm1& form);        // Button19
void TrimDownFine(TForm1& form);      // Button20
void TrimUpCoarse(TForm1& form);      // Button21
void TrimDownCoarse(TForm1& form);    // Button22

} // namespace radioset
