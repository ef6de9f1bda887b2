// The Import command: the keyword list open dialog and the window's side of
// the import.
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/NumberListModel.h"
#include "app/StatusBar.h"
#include "app/Texts.h"
#include "files/KeywordImport.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>

namespace tavrisk::app {

namespace {

QString AllFilesFilter() {
    return QStringLiteral("All files(*.*)");
}

// OpenDialog1, made on first use as a child of the window, so that the filter
// and the size the user chose are kept from one import to the next.
QFileDialog* OpenDialog1(TForm1& form) {
    const QString name = QStringLiteral("OpenDialog1");
    auto* dialog = form.findChild<QFileDialog*>(name, Qt::FindDirectChildrenOnly);
    if (dialog != nullptr) {
        return dialog;
    }
    dialog = new QFileDialog(&form);
    dialog->setObjectName(name);
    dialog->setWindowTitle(QStringLiteral("导入关键字列表文件"));
    // Qt's own dialog on every desktop: it lets the user type the name of a
    // file that does not exist yet, as the import allows.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({QStringLiteral("Text files(*.txt)"), AllFilesFilter()});
    dialog->selectNameFilter(QStringLiteral("Text files(*.txt)"));
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->setSizeGripEnabled(true);
    // "*.*" would hide the names without a dot; "All files" means all of them.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        if (filter == AllFilesFilter()) {
            if (auto* model = dialog->findChild<QFileSystemModel*>()) {
                model->setNameFilters({QStringLiteral("*")});
            }
        }
    });
    return dialog;
}

class ImportWindow : public KeywordImportWindow {
public:
    explicit ImportWindow(TForm1& form) : form_(form) {}

    std::optional<std::string> ChooseKeywordFile(const std::string& folder) override {
        QFileDialog* dialog = OpenDialog1(form_);
        dialog->setDirectory(folder.empty() ? QCoreApplication::applicationDirPath() : PathToQs(folder));
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return QsToPath(dialog->selectedFiles().constFirst());
    }

    void ShowKeywordFilePath(const std::string& path) override {
        form_.Edit5->setText(PathToQs(path));
        form_.repaint();
    }

    void SetLineCountText(const std::string& text) override { form_.StatusBar1->SetPanelText(1, Qs(text)); }

    void ClearResultList() override { form_.ListModel->Clear(); }

private:
    TForm1& form_;
};

}  // namespace

void TForm1::SpeedButton4Click() {
    Guarded(this, [this] {
        ImportWindow window(*this);
        ImportKeywordList(window, KeywordList, ExeDir);
    });
}

}  // namespace tavrisk::app
