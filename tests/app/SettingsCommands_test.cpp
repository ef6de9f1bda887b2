#include "app/MainWindow.h"
#include "app/Texts.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::G;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

QApplication& App() {
    static int argc = 1;
    static char name[] = "SettingsCommands_test";
    static char* argv[] = {name, nullptr};
    // Left to the end of the program: Qt must not be torn down by a static.
    static auto* application = new QApplication(argc, argv);
    return *application;
}

// A message box as the user saw it.
struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;
};

// Runs action and answers every message box it opens with its first button,
// recording what each box showed.
std::vector<Shown> AnswerBoxes(const std::function<void()>& action) {
    std::vector<Shown> shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        Shown s{box->windowTitle(), box->text(), box->icon(), {}};
        for (auto* b : box->buttons()) {
            s.buttons << b->text();
        }
        shown.push_back(s);
        box->buttons().front()->click();
    });
    poll.start();
    action();
    return shown;
}

// The settings file's name that this test program (app_SettingsCommands_test)
// derives for itself.
const std::string kIniName = "app_settingscommands_test.ini";

TEST(SettingsCommands, LoadReadsTheFileBesideTheProgram) {
    App();
    TempDir dir;
    WriteFile(dir.File(kIniName), G("[config]\r\nfilename=/数据/列表.txt\r\nprocess=7\r\nquchong=1\r\n"
                                    "[engine]\r\nhost=127.0.0.1:4567\r\n"));
    TForm1 form;
    form.ExeDir = dir.Path() + "/";
    form.LoadSettings();
    EXPECT_EQ(form.SettingsFileName, kIniName);
    EXPECT_EQ(form.NextKeywordIndex, 7);
    EXPECT_EQ(form.SearchHost, "127.0.0.1:4567");
    if (form.Edit5 != nullptr) {
        EXPECT_EQ(form.Edit5->text(), QStringLiteral("/数据/列表.txt"));
    }
    if (form.CheckBox1 != nullptr) {
        EXPECT_TRUE(form.CheckBox1->isChecked());
        EXPECT_FALSE(form.CheckBox2->isChecked());
    }
}

TEST(SettingsCommands, SaveProgressWritesTheFileThenConfirms) {
    App();
    TempDir dir;
    TForm1 form;
    form.ExeDir = dir.Path() + "/";
    form.LoadSettings();
    EXPECT_EQ(form.SearchHost, "www.baidu.com");
    EXPECT_EQ(form.NextKeywordIndex, 0);

    const auto shown = AnswerBoxes([&] { form.SpeedButton8Click(); });
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].title, AppTitle());
    EXPECT_EQ(shown[0].text, QStringLiteral("已经保存当前传真号码搜索进程！"));
    EXPECT_EQ(shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown[0].buttons, QStringList{QStringLiteral("确定")});

    const std::string text = ReadFile(dir.File(kIniName));
    EXPECT_EQ(text.rfind("[config]\r\nfilename=", 0), 0U) << text;
    EXPECT_NE(text.find("\r\nprocess=0\r\n"), std::string::npos) << text;
    EXPECT_EQ(form.NextKeywordIndex, 1);
}

TEST(SettingsCommands, AFailedSaveShowsTheErrorAndNoConfirmation) {
    App();
    TForm1 form;
    form.ExeDir = "/proc/";
    form.LoadSettings();
    const auto shown = AnswerBoxes([&] { form.SpeedButton8Click(); });
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(shown[0].text, QString::fromStdString("Unable to write to /proc/" + kIniName + "."));
}

}  // namespace
}  // namespace tavrisk::app
