// The search run's commands of the main window: each forwards to the
// controller inside the error guard.
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/SearchSession.h"

namespace tavrisk::app {

SearchSession& TForm1::Session() {
    if (session_ == nullptr) {
        session_ = new SearchSession(*this);
    }
    return *session_;
}

void TForm1::N2Click() {
    Guarded(this, [this] { Session().Run.N2Click(); });
}

void TForm1::N3Click() {
    Guarded(this, [this] { Session().Run.N3Click(); });
}

void TForm1::Button1Click() {
    Guarded(this, [this] { Session().Run.Button1Click(); });
}

void TForm1::BitBtn1Click() {
    Guarded(this, [this] { Session().Run.BitBtn1Click(); });
}

void TForm1::Timer1Timer() {
    Guarded(this, [this] { Session().Run.Timer1Timer(); });
}

}  // namespace tavrisk::app
