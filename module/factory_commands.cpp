#include "module/factory_commands.h"

#include "link/frame.h"
#include "link/transmit.h"
#include "shell/form1.h"

namespace radioset {

void StartCarrierTest(TForm1& f)
{
    SendRequest(f, CmdCarrierTest, {0x00});
}

void StartZeroOneTest(TForm1& f)
{
    SendRequest(f, CmdZeroOneTest, {0x00});
}

void StartRxTest(TForm1& f)
{
    SendRequest(f, CmdRxTest, {0x00});
    // From now on every received byte is a signal-strength sample worth
    // seeing, until the program ends (stopping the test does not end it).
    f.RssiDumpOn = true;
}

void StopTest(TForm1& f)
{
    SendRequest(f, CmdStopTest, {0x00});
}

void TrimUpFine(TForm1& f)
{
    SendRequest(f, CmdTrimUpFine, {0x00});
}

void TrimDownFine(TForm1& f)
{
    SendRequest(f, CmdTrimDownFine, {0x00});
}

// The coarse trims carry their step, 10 fine steps.
void TrimUpCoarse(TForm1& f)
{
    SendRequest(f, CmdTrimUpCoarse, {0x0A});
}

void TrimDownCoarse(TForm1& f)
{
    SendRequest(f, CmdTrimDownCoarse, {0x0A});
}

} // namespace radioset
