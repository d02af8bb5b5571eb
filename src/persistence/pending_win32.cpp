// Placeholders so that the program links while the persistence commands are being written. Each
// definition here goes away when its real one lands.
#include "app/form1_win32.h"

namespace tidewell {

void TForm1::LoadPreferences() {}
void TForm1::SavePreferences() {}
void TForm1::ToolButton7Click() {}
void TForm1::ToolButton8Click() {}

}  // namespace tidewell
