// Handlers whose features have not been written yet. Each feature deletes its
// handlers here when it defines them in its own file.
#include "app/MainWindow.h"

namespace tavrisk::app {

void TForm1::FormCreate() {}

void TForm1::FormCloseQuery(bool& /*CanClose*/) {}

void TForm1::N2Click() {}

void TForm1::N3Click() {}

void TForm1::N5Click() {}



void TForm1::SpeedButton10Click() {}

void TForm1::Button1Click() {}

void TForm1::BitBtn1Click() {}

void TForm1::Timer1Timer() {}

}  // namespace tavrisk::app
