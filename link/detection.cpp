#include "link/detection.h"

#include "shell/form1.h"

namespace radioset {

void StartDetection(TForm1&) {}
void DetectionTick(TForm1&) {}
void HandleDetectReply(TForm1&) {}

} // namespace radioset
