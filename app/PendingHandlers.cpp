// Handlers whose features have not been written yet. Each feature deletes its
// handlers here when it defines them in its own file.
#include "app/MainWindow.h"

namespace tavrisk::app {

void TForm1::FormCreate() {}

void TForm1::FormCloseQuery(bool& /*CanClose*/) {}


void TForm1::N5Click() {}



void TForm1::SpeedButton10Click() {}




}  // namespace tavrisk::app
