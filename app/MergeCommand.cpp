// The merge command of the main window: the window's side of
// tavrisk::RunMergeCommand (dialogs, busy pointer, status panel).
#include "app/MergeCommand.h"

#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "app/Texts.h"
#include "files/NumberMerge.h"

#include <QApplication>
#include <QStringList>
#include <QVariant>

namespace tavrisk::app {

namespace {

QStringList MergeFilters() {
    return {QStringLiteral("文本文件(*.txt)"), QStringLiteral("所有文件(*.*)")};
}

// Status panel 6 of the main window. The panel belongs to the status bar
// class; until it is connected here the text is kept on the window as the
// property "statusPanel6" so it can be read back.
void SetStatusPanel6(TForm1& form, const QString& text) {
    form.StatusBar1->SetPanelText(6, text);
}

class WindowMergeUi : public MergeUi {
public:
    explicit WindowMergeUi(TForm1& form) : form_(form) {}

    std::optional<std::vector<std::string>> ChooseSources() override {
        const auto dialog = MakeOpenDialog8(&form_);
        if (dialog->exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        std::vector<std::string> paths;
        for (const QString& file : dialog->selectedFiles()) {
            paths.push_back(QsToPath(file));
        }
        return paths;
    }

    std::optional<std::string> ChooseDestination() override {
        const auto dialog = MakeSaveDialog8(&form_);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return QsToPath(dialog->selectedFiles().constFirst());
    }

    void SetBusyPointer(bool busy) override {
        if (busy) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }

    void SetStatusText(const std::string& gbkText) override { SetStatusPanel6(form_, Qs(gbkText)); }

    void RepaintNow() override { form_.repaint(); }

private:
    TForm1& form_;
};

}  // namespace

std::unique_ptr<QFileDialog> MakeOpenDialog8(QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("选择待合并的数据文件"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(MergeFilters());
    dialog->selectNameFilter(MergeFilters().constFirst());
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    return dialog;
}

std::unique_ptr<QFileDialog> MakeSaveDialog8(QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("合并后的数据文件保存为"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(MergeFilters());
    dialog->selectNameFilter(MergeFilters().constFirst());
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

void TForm1::SpeedButton1Click() {
    Guarded(this, [this] {
        WindowMergeUi ui(*this);
        RunMergeCommand(ui);
    });
}

}  // namespace tavrisk::app
