#include "module/factory_commands.h"

#include "shell/form1.h"

namespace radioset {

void StartCarrierTest(TForm1&) {}
void StartZeroOneTest(TForm1&) {}
void StartRxTest(TForm1&) {}
void StopTest(TForm1&) {}
void TrimUpFine(TForm1&) {}
void TrimDownFine(TForm1&) {}
void TrimUpCoarse(TForm1&) {}
void TrimDownCoarse(TForm1&) {}

} // namespace radioset
