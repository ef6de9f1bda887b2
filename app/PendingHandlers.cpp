// Handlers whose features have not been written yet. Each feature deletes its
// handlers here when it defines them in its own file.
#include "app/MainWindow.h"

namespace tavrisk::app {

void TForm1::SpeedButton4Click() {}

void TForm1::N2Click() {}

void TForm1::N3Click() {}

void TForm1::SpeedButton8Click() {}

void TForm1::SpeedButton1Click() {}

void TForm1::SpeedButton6Click() {}

void TForm1::N15Click() {}

void TForm1::N17Click() {}

void TForm1::N18Click() {}

void TForm1::N14Click() {}

void TForm1::N20Click() {}

void TForm1::N23Click() {}

void TForm1::Button1Click() {}

void TForm1::BitBtn1Click() {}

void TForm1::Button2Click() {}

void TForm1::Timer1Timer() {}

void TForm1::LoadSettings() {}

}  // namespace tavrisk::app
