#include "app/MergeCommand.h"

#include "app/MainWindow.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
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

// Cancelling the open dialog ends the command: no pointer change, no status.
TEST(MergeDialogs, CancellingTheOpenDialogChangesNothing) {
    TForm1 form;
    const QVariant before = form.property("statusPanel6");
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                dialog->reject();
            }
        }
    });
    form.SpeedButton1Click();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.property("statusPanel6"), before);
}

// Answers each file dialog that opens with the next function of the list.
class DialogScript {
public:
    explicit DialogScript(std::vector<std::function<void(QFileDialog&)>> steps) : steps_(std::move(steps)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (dialog != nullptr && dialog->isVisible() && next_ < steps_.size()) {
                    steps_[next_++](*dialog);
                    return;
                }
            }
        });
        timer_.start();
    }

private:
    std::vector<std::function<void(QFileDialog&)>> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

TEST(MergeDialogs, MergesTheChosenFilesIntoTheChosenDestination) {
    test::TempDir dir;
    test::WriteFile(dir.File("a.txt"), "0571-2222222\r\n0571-1111111\r\n");
    test::WriteFile(dir.File("b.txt"), "010-3333333\r\n0571-1111111\r\n");
    const QString folder = QString::fromStdString(dir.Path());
    TForm1 form;
    DialogScript script({[&](QFileDialog& open) {
                             open.setDirectory(folder);
                             open.selectFile(QStringLiteral("\"a.txt\" \"b.txt\""));
                             static_cast<QDialog&>(open).accept();
                         },
                         [&](QFileDialog& save) {
                             save.setDirectory(folder);
                             save.selectFile(QStringLiteral("merged"));
                             static_cast<QDialog&>(save).accept();
                         }});
    form.SpeedButton1Click();
    EXPECT_EQ(test::ReadFile(dir.File("merged.txt")), "010-3333333\r\n0571-1111111\r\n0571-2222222\r\n");
    EXPECT_EQ(form.property("statusPanel6").toString(), QStringLiteral("文件合并整理完毕！共计：3"));
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
