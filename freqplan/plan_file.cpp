#include "freqplan/plan_file.h"

#include "shell/form1.h"

namespace radioset {

void SavePlan(TForm1&) {}
void LoadPlan(TForm1&) {}

} // namespace radioset
