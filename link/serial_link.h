#pragma once

namespace radioset {

class TForm1;

// Closes the port and shows "Open" on Button1.
void ClosePort(TForm1& form);

// Applies the four line-setting lists (by selected index; a list with no
// selection keeps its setting) and opens the port. Success shows "Closed"
// on Button1; failure shows "错误类型: " and the serial layer's reason and
// leaves the port closed. Callers that need the outcome read Active().
void OpenPortFromSettings(TForm1& form);

} // namespace radioset
