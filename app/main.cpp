#include "app/Icons.h"
#include "app/MainWindow.h"
#include "app/Texts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    // Qt WebEngine refuses its sandbox as root; a normal user keeps it on.
    if (geteuid() == 0) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    }
    // The web view starts late, on the first page; it needs contexts shared from the start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavrisk"));
    // Qt's own dialogs (file dialogs, overwrite questions) speak Chinese like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    QApplication::setWindowIcon(tavrisk::app::ProgramIcon());
    tavrisk::app::TForm1 form;
    form.show();
    return QApplication::exec();
}
