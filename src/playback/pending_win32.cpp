// Placeholders so that the program links while the play commands are being written. Each
// definition here goes away when its real one lands.
#include "app/form1_win32.h"

namespace tidewell {

void TForm1::TntSpeedButton1Click() {}
void TForm1::BitBtn1Click(std::wstring_view) {}
void TForm1::Playall1Click() {}
void TForm1::playselected1Click() {}
void TForm1::RunPlayQueue() {}
void TForm1::LaunchPresentation(const std::wstring&) {}

}  // namespace tidewell
