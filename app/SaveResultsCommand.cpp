// The Save-results command: writes the result list to a number file.
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/NumberListModel.h"
#include "app/Texts.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

namespace tavrisk::app {
namespace {

// The folder the save dialog opens in: where the last file was saved during
// this run of the program, at first the user's home folder.
QString& SaveFolder() {
    static QString folder = QDir::homePath();
    return folder;
}

}  // namespace

void TForm1::N5Click() {
    Guarded(this, [&] {
        const FileDialogOptions SaveDialog1{QStringLiteral("搜索结果保存为"),
                                            QStringLiteral("Text files(*.txt);;All files(*);;CSV files(*.csv)"),
                                            QStringLiteral("txt"), SaveFolder()};
        const std::optional<QString> name = TheBoxes().SaveFileName(this, SaveDialog1);
        if (!name || name->isEmpty()) {
            return;
        }
        const QFileInfo chosen(*name);
        SaveFolder() = chosen.absolutePath();
        // A name ending in .csv gets the numbers with where each was found;
        // any other name the number-file format: every number, one per line
        // ended by CR LF. The old file is replaced only once the new one is
        // complete.
        const bool csv = chosen.suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
        WriteFileAtomically(QsToPath(*name), csv ? ListModel->CsvText() : ListModel->FileText());
    });
}

}  // namespace tavrisk::app
