#include "app/MergeCommand.h"

#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

const QStringList kFilters = {QStringLiteral("文本文件(*.txt)"), QStringLiteral("所有文件(*.*)")};

TEST(MergeDialogs, OpenDialogTakesSeveralExistingFiles) {
    const auto dialog = MakeOpenDialog8(nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("选择待合并的数据文件"));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->nameFilters(), kFilters);
    EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
}

TEST(MergeDialogs, SaveDialogAsksBeforeReplacing) {
    const auto dialog = MakeSaveDialog8(nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("合并后的数据文件保存为"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), kFilters);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("txt"));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

// Answers each file dialog that opens with the next function of the list.
// A dialog still open after its answer (its folder was not loaded yet) gets
// the same answer again; after ten seconds every dialog is rejected, so a
// broken answer fails the test instead of hanging it.
class DialogScript {
public:
    explicit DialogScript(std::vector<std::function<void(QFileDialog&)>> steps) : steps_(std::move(steps)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
        clock_.start();
    }

private:
    void Tick() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) {
                continue;
            }
            if (clock_.elapsed() > 10000 || next_ >= steps_.size()) {
                dialog->reject();
                return;
            }
            steps_[next_](*dialog);
            if (!dialog->isVisible()) {
                ++next_;
            }
            return;
        }
    }

    std::vector<std::function<void(QFileDialog&)>> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
    QElapsedTimer clock_;
};

// Cancelling the open dialog ends the command: no pointer change, no status.
TEST(MergeDialogs, CancellingTheOpenDialogChangesNothing) {
    TForm1 form;
    const QString before = form.StatusBar1->PanelText(6);
    DialogScript script({[](QFileDialog& open) { open.reject(); }});
    form.SpeedButton1Click();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.StatusBar1->PanelText(6), before);
}

// What the user types into the dialog's file name field.
void TypeFileName(QFileDialog& dialog, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

TEST(MergeDialogs, MergesTheChosenFilesIntoTheChosenDestination) {
    test::TempDir dir;
    test::WriteFile(dir.File("a.txt"), "0571-2222222\r\n0571-1111111\r\n");
    test::WriteFile(dir.File("b.txt"), "010-3333333\r\n0571-1111111\r\n");
    const QString folder = QString::fromStdString(dir.Path());
    TForm1 form;
    DialogScript script({[&](QFileDialog& open) {
                             open.setDirectory(folder);
                             TypeFileName(open, QStringLiteral("\"a.txt\" \"b.txt\""));
                             static_cast<QDialog&>(open).accept();
                         },
                         [&](QFileDialog& save) {
                             save.setDirectory(folder);
                             TypeFileName(save, QStringLiteral("merged"));
                             static_cast<QDialog&>(save).accept();
                         }});
    form.SpeedButton1Click();
    EXPECT_EQ(test::ReadFile(dir.File("merged.txt")), "010-3333333\r\n0571-1111111\r\n0571-2222222\r\n");
    EXPECT_EQ(form.StatusBar1->PanelText(6), QStringLiteral("文件合并整理完毕！共计：3"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tavrisk::app

// One application for the program, destroyed before the process exits.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
