#include "app/Icons.h"
#include "app/MainWindow.h"
#include "app/Texts.h"

#include <QApplication>

#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    // Qt WebEngine refuses its sandbox as root; a normal user keeps it on.
    if (geteuid() == 0) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavrisk"));
    QApplication::setApplicationDisplayName(tavrisk::app::AppTitle());
    QApplication::setWindowIcon(tavrisk::app::ProgramIcon());
    tavrisk::app::TForm1 form;
    form.show();
    return QApplication::exec();
}
