#pragma once

namespace radioset {

class TForm1;

// Stores the language (0 Simplified Chinese, 1 Traditional Chinese,
// 2 English) and writes every localized caption of the window again.
void ApplyLanguage(TForm1& form, int index);

} // namespace radioset
