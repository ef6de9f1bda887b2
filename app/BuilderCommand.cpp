// The main window's command that opens the keyword list builder.
#include "app/ErrorGuard.h"
#include "app/KeywordBuilderDialog.h"
#include "app/MainWindow.h"
#include "app/Texts.h"

#include <QCoreApplication>

namespace tavrisk::app {

void TForm1::SpeedButton6Click() {
    Guarded(this, [&] {
        // One builder for the program's whole run, so its lists outlive each opening.
        if (Form3 == nullptr) {
            Form3 = new TForm3(this);
        }
        Form3->ExeDir = ExeDir.empty() ? QsToPath(QCoreApplication::applicationDirPath()) + "/" : ExeDir;
        Form3->exec();
    });
}

}  // namespace tavrisk::app
