#include "app/MergeCommand.h"

#include "app/MainWindow.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTimer>

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

}  // namespace
}  // namespace tavrisk::app

// One application for the program, destroyed before the process exits.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
