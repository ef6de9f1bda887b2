#include "app/MainWindow.h"
#include "app/Texts.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

// Answers the next modal window of type W once it is shown, from the event
// loop that shows it.
template <typename W>
void AnswerNextModal(const std::function<void(W*)>& answer) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()); w != nullptr && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(w);
        }
    });
    timer->start();
}

struct Window {
    TForm1 form;
    Window() {
        // The layout is not this test's business: a file field is all the import shows.
        if (form.Edit5 == nullptr) {
            form.Edit5 = new QLineEdit(&form);
        }
        form.Edit5->setText(QStringLiteral("old.txt"));
        form.KeywordList.Add("old");
    }
};

TEST(ImportCommand, DialogOpensInTheProgramFolderAndAddsTheSuffix) {
    test::TempDir dir;
    test::WriteFile(dir.File("k.txt"), "a\r\nb\r\n");
    Window w;
    w.form.ExeDir = dir.Path() + "/";
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("导入关键字列表文件"));
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({QStringLiteral("Text files(*.txt)"), QStringLiteral("All files(*.*)")}));
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Text files(*.txt)"));
        EXPECT_EQ(dialog->directory().absolutePath(), PathToQs(dir.Path()));
        dialog->selectFile(QStringLiteral("k"));  // typed without extension
        static_cast<QDialog*>(dialog)->accept();  // the Open button
    });
    w.form.SpeedButton4Click();
    EXPECT_EQ(w.form.Edit5->text(), PathToQs(dir.File("k.txt")));
    EXPECT_EQ(w.form.KeywordList.Items(), (std::vector<std::string>{"a", "b"}));
}

TEST(ImportCommand, AllFilesListsNamesWithoutADot) {
    Window w;
    QStringList filters;
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        // The user picks the second entry of the file type box.
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* model = dialog->findChild<QFileSystemModel*>();
        if (combo != nullptr && model != nullptr) {
            combo->setCurrentIndex(1);
            emit combo->activated(1);
            emit combo->textActivated(combo->currentText());
            filters = model->nameFilters();
        }
        dialog->reject();
    });
    w.form.SpeedButton4Click();
    EXPECT_EQ(filters, QStringList{QStringLiteral("*")});
}

TEST(ImportCommand, CancelKeepsEverything) {
    Window w;
    AnswerNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    w.form.SpeedButton4Click();
    EXPECT_EQ(w.form.Edit5->text(), QStringLiteral("old.txt"));
    EXPECT_EQ(w.form.KeywordList.Items(), std::vector<std::string>{"old"});
}

TEST(ImportCommand, TypedNameOfAMissingFileShowsTheErrorBox) {
    test::TempDir dir;
    Window w;
    w.form.ExeDir = dir.Path() + "/";
    QString boxText;
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(QStringLiteral("none.txt"));
        AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
            boxText = box->text();
            box->accept();
        });
        static_cast<QDialog*>(dialog)->accept();  // the Open button
    });
    w.form.SpeedButton4Click();
    EXPECT_EQ(boxText, QStringLiteral("File not found."));
    EXPECT_EQ(w.form.Edit5->text(), PathToQs(dir.File("none.txt")));
    EXPECT_EQ(w.form.KeywordList.Items(), std::vector<std::string>{"old"});
}

}  // namespace
}  // namespace tavrisk::app

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
