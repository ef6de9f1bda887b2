#include "app/MainWindow.h"
#include "app/NumberListModel.h"
#include "app/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/FileError.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tavrisk::app {
namespace {

using tavrisk::test::FileExists;
using tavrisk::test::ReadFile;
using tavrisk::test::TempDir;
using tavrisk::test::WriteFile;
using test::CatchModalBox;
using test::ScriptedBoxes;
using test::TestApplication;

class SaveResultsTest : public ::testing::Test {
protected:
    SaveResultsTest() : override_(boxes_) {
        form_.ListModel->Append("02012345678");
        form_.ListModel->Append("0755-1234567");
        form_.ListModel->Append("0571-87654321");
    }
    ~SaveResultsTest() override { AtomicWriteTestHook::BeforeRename() = nullptr; }

    QApplication& application_ = TestApplication();
    ScriptedBoxes boxes_;
    BoxesOverride override_;
    TForm1 form_;
    TempDir dir_;
};

TEST_F(SaveResultsTest, WritesEveryNumberEndedByCrLfThroughTheSaveDialog) {
    const std::string path = dir_.File("结果.txt");
    WriteFile(path, "old contents that are longer than the new ones ...........................");
    boxes_.fileNames.push_back(PathToQs(path));
    form_.SpeedButton5->click();

    ASSERT_EQ(boxes_.asked.size(), 1u);
    const FileDialogOptions& options = boxes_.asked[0].options;
    EXPECT_EQ(boxes_.asked[0].kind, QStringLiteral("save"));
    EXPECT_EQ(options.title, QStringLiteral("搜索结果保存为"));
    EXPECT_EQ(options.defaultSuffix, QStringLiteral("txt"));
    EXPECT_TRUE(options.filter.startsWith(QStringLiteral("Text files(*.txt);;All files(")));
    EXPECT_FALSE(options.directory.isEmpty());
    EXPECT_EQ(ReadFile(path), "02012345678\r\n0755-1234567\r\n0571-87654321\r\n");

    // The next save opens where the last one went.
    boxes_.fileNames.push_back(std::nullopt);
    form_.N5Click();
    EXPECT_EQ(boxes_.asked.back().options.directory, PathToQs(dir_.Path()));
}

TEST_F(SaveResultsTest, ANameEndingInCsvGetsTheNumbersWithTheirSources) {
    setenv("TZ", "UTC", 1);
    tzset();
    form_.ListModel->Clear();
    form_.ListModel->Append("020-87654321",
                            NumberSource{tavrisk::test::G("广州 传真"), 10, "http://h/baidu?pn=10&cl=3", 1797009930});
    form_.ListModel->Append("0571-1234567");
    const std::string path = dir_.File("results.CSV");
    boxes_.fileNames.push_back(PathToQs(path));
    form_.N5Click();
    EXPECT_TRUE(boxes_.asked[0].options.filter.contains(QStringLiteral("CSV files(*.csv)")));
    EXPECT_EQ(boxes_.asked[0].options.defaultSuffix, QStringLiteral("txt"));  // the plain list stays the default
    EXPECT_EQ(ReadFile(path), tavrisk::test::G("传真,关键字,页偏移,网址,时间\r\n020-87654321,广州 传真,10,"
                                               "http://h/baidu?pn=10&cl=3,2026-12-11 17:25:30\r\n"
                                               "0571-1234567,,,,\r\n"));
}

TEST_F(SaveResultsTest, AnEmptyListWritesAnEmptyFile) {
    form_.ListModel->Clear();
    const std::string path = dir_.File("empty.txt");
    WriteFile(path, "old");
    boxes_.fileNames.push_back(PathToQs(path));
    form_.N5Click();
    EXPECT_EQ(ReadFile(path), "");
}

TEST_F(SaveResultsTest, CancelWritesNothing) {
    boxes_.fileNames.push_back(std::nullopt);
    form_.N5Click();
    EXPECT_EQ(boxes_.asked.size(), 1u);
    EXPECT_FALSE(FileExists(dir_.File("anything.txt")));
}

TEST_F(SaveResultsTest, AFileThatCannotBeCreatedGivesTheErrorBox) {
    const std::string path = dir_.File("missing-folder/out.txt");
    boxes_.fileNames.push_back(PathToQs(path));
    auto box = CatchModalBox([&] { form_.N5Click(); });
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, AppTitle());
    EXPECT_EQ(box->icon, QMessageBox::Critical);
    EXPECT_EQ(box->text, QStringLiteral("Cannot create file ") + PathToQs(path) + QStringLiteral("."));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(SaveResultsTest, AFailedSaveKeepsTheOldFileWhole) {
    const std::string path = dir_.File("kept.txt");
    WriteFile(path, "0101\r\n0102\r\n");
    AtomicWriteTestHook::BeforeRename() = [&](const std::string&) { ThrowCannotCreateFile(path); };
    boxes_.fileNames.push_back(PathToQs(path));
    auto box = CatchModalBox([&] { form_.N5Click(); });
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, QStringLiteral("Cannot create file ") + PathToQs(path) + QStringLiteral("."));
    EXPECT_EQ(ReadFile(path), "0101\r\n0102\r\n");
}

}  // namespace
}  // namespace tavrisk::app
