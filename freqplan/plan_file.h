#pragma once

namespace radioset {

class TForm1;

// Save config... / Read config...: the plan of all 32 channels to and from
// an INI file the operator chooses.
void SavePlan(TForm1& form);
void LoadPlan(TForm1& form);

} // namespace radioset
