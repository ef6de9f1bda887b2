#include "app/KeywordBuilderDialog.h"

#include "app/MainWindow.h"
#include "app/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::G;

// One application object for the whole test program.
QApplication& App() {
    static int argc = 1;
    static char name[] = "KeywordBuilderDialog_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return new QApplication(argc, argv);
    }();
    return *app;
}

class KeywordBuilderDialog : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

QString EightLines() {
    return QStringLiteral(
        "广州 服装 传真：\n广州 服装 FAX：\n广州 服饰 传真：\n广州 服饰 FAX：\n"
        "广州 制衣 传真：\n广州 制衣 FAX：\n广州 时装 传真：\n广州 时装 FAX：\n");
}

// Runs action, which is expected to open a modal window; whenRunning is
// called with that window once it runs, and should close it.
void WithModal(const std::function<void(QWidget*)>& whenRunning, const std::function<void()>& action) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal != nullptr;
        if (modal != nullptr) {
            whenRunning(modal);
        }
    });
    action();
    EXPECT_TRUE(seen) << "no modal window was shown";
}

// The text of the message box that action shows; the box is closed.
QString BoxText(const std::function<void()>& action) {
    QString text;
    WithModal(
        [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = box->text();
            box->close();
        },
        action);
    return text;
}

// The control that Tab moves to from w.
QWidget* NextTabStop(QWidget* w) {
    for (QWidget* n = w->nextInFocusChain(); n != w; n = n->nextInFocusChain()) {
        if ((n->focusPolicy() & Qt::TabFocus) != 0 && n->isEnabled()) {
            return n;
        }
    }
    return w;
}

TEST_F(KeywordBuilderDialog, HasItsDesign) {
    TForm3 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("创建关键词列表文件"));
    EXPECT_EQ(form.size(), QSize(310, 245));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(form.font().pixelSize(), 12);
    EXPECT_EQ(form.font().families().value(0), QStringLiteral("SimSun"));
    EXPECT_FALSE(form.isVisible());

    struct Place {
        QWidget* widget;
        QRect rect;
    };
    const Place places[] = {
        {form.Label1, {40, 8, 72, 12}},         {form.Label2, {200, 8, 72, 12}},
        {form.Memo1, {8, 24, 137, 65}},         {form.Memo2, {168, 24, 137, 65}},
        {form.Label3, {72, 104, 156, 12}},      {form.Memo3, {8, 120, 297, 73}},
        {form.SpeedButton2, {72, 204, 65, 25}}, {form.SpeedButton1, {176, 204, 65, 25}},
    };
    for (const auto& p : places) {
        EXPECT_EQ(p.widget->geometry(), p.rect) << p.widget->metaObject()->className();
        EXPECT_EQ(p.widget->font().pixelSize(), 12);
    }
    // The controls keep their places when the dialog is resized.
    form.resize(500, 400);
    for (const auto& p : places) {
        EXPECT_EQ(p.widget->geometry(), p.rect);
    }

    EXPECT_EQ(form.Label1->text(), QStringLiteral("产品分类词语"));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("传真搜索标志"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("百度搜索关键词列表文件内容"));
    EXPECT_EQ(MemoText(*form.Memo1), G("广州 服装\r\n广州 服饰\r\n广州 制衣\r\n广州 时装"));
    EXPECT_EQ(MemoText(*form.Memo2), G("传真：\r\nFAX："));
    EXPECT_EQ(MemoText(*form.Memo3), "");

    for (const QPlainTextEdit* memo : {form.Memo1, form.Memo2, form.Memo3}) {
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_TRUE(memo->tabChangesFocus());
        EXPECT_FALSE(memo->isReadOnly());
    }
    // Tab goes round the three areas; the buttons take no focus.
    EXPECT_EQ(NextTabStop(form.Memo1), form.Memo2);
    EXPECT_EQ(NextTabStop(form.Memo2), form.Memo3);
    EXPECT_EQ(NextTabStop(form.Memo3), form.Memo1);

    EXPECT_EQ(form.SpeedButton2->text(), QStringLiteral("创建"));
    EXPECT_EQ(form.SpeedButton1->text(), QStringLiteral("保存"));
    for (const QToolButton* button : {form.SpeedButton1, form.SpeedButton2}) {
        EXPECT_TRUE(button->autoRaise());
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->icon().isNull());
    }

    const QFileDialog& save = *form.SaveDialog1;
    EXPECT_EQ(save.windowTitle(), QStringLiteral("生成搜索关键词列表文件"));
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.nameFilters(), QStringList({QStringLiteral("Text files(*.txt)"), QStringLiteral("All files(*.*)")}));
    EXPECT_EQ(save.selectedNameFilter(), QStringLiteral("Text files(*.txt)"));
    EXPECT_EQ(save.defaultSuffix(), QStringLiteral("txt"));
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite)) << "must ask before replacing a file";
}

TEST_F(KeywordBuilderDialog, EscapeDoesNotCloseIt) {
    TForm3 form;
    form.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.Memo1, &escape);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(KeywordBuilderDialog, CreateFillsTheThirdAreaOnceHoweverOftenItRuns) {
    TForm3 form;
    form.Memo3->setPlainText(QStringLiteral("left over"));
    form.SpeedButton2->click();
    EXPECT_EQ(form.Memo3->toPlainText(), EightLines());
    form.SpeedButton2->click();
    EXPECT_EQ(form.Memo3->toPlainText(), EightLines());
    EXPECT_EQ(MemoText(*form.Memo3).substr(0, 18), G("广州 服装 传真：\r\n"));

    form.Memo2->clear();
    form.SpeedButton2->click();
    EXPECT_EQ(form.Memo3->toPlainText(), QString());
}

TEST_F(KeywordBuilderDialog, CreateTakesTypedLinesWholeWithEmptyLines) {
    TForm3 form;
    // Wider than the area, so it shows wrapped; Create still takes it as one line.
    const QString longPhrase = QStringLiteral("广州 ") + QString(40, QLatin1Char('x')) + QStringLiteral(" 服装");
    form.Memo1->setPlainText(longPhrase + QStringLiteral("\n\n广州 时装\n\n"));
    form.Memo2->setPlainText(QStringLiteral("传真：\n"));
    form.show();
    form.SpeedButton2->click();
    EXPECT_EQ(form.Memo3->toPlainText(), longPhrase + QStringLiteral(" 传真：\n 传真：\n广州 时装 传真：\n 传真：\n"));
}

class SaveTest : public KeywordBuilderDialog {
protected:
    void SetUp() override {
        KeywordBuilderDialog::SetUp();
        form.ExeDir = dir.Path() + "/";
        form.ExecuteSaveDialog = [this](QFileDialog& d) -> std::optional<QString> {
            proposedFolder.push_back(d.directory().absolutePath());
            proposedFiles.push_back(d.selectedFiles().value(0));
            if (answer) {
                d.selectFile(*answer);  // what the user picks stays in the dialog
            }
            return answer;
        };
    }
    void TearDown() override { AtomicWriteTestHook::BeforeRename() = nullptr; }

    test::TempDir dir;
    TForm3 form;
    std::optional<QString> answer;
    QStringList proposedFolder;
    QStringList proposedFiles;
};

TEST_F(SaveTest, WritesTheAreaExactlyAsEditedAndProposesTheUsualNameEachTime) {
    const QString folder = PathToQs(dir.Path());
    test::TempDir other;
    form.SpeedButton2->click();
    // Edited by hand: a line changed, the final line break deleted.
    QString edited = form.Memo3->toPlainText();
    edited.replace(QStringLiteral("制衣"), QStringLiteral("布料"));
    edited.chop(1);
    form.Memo3->setPlainText(edited);

    answer = PathToQs(other.File("mine.txt"));
    form.SpeedButton1->click();
    EXPECT_EQ(test::ReadFile(other.File("mine.txt")),
              G("广州 服装 传真：\r\n广州 服装 FAX：\r\n广州 服饰 传真：\r\n广州 服饰 FAX：\r\n"
                "广州 布料 传真：\r\n广州 布料 FAX：\r\n广州 时装 传真：\r\n广州 时装 FAX："));

    // Next time the program's folder and the usual name again; replacing an
    // existing file, and an empty area gives an empty file.
    test::WriteFile(dir.File("搜索关键词列表文件.txt"), "old");
    answer = folder + QStringLiteral("/搜索关键词列表文件.txt");
    form.Memo3->clear();
    form.SpeedButton1->click();
    EXPECT_EQ(test::ReadFile(dir.File("搜索关键词列表文件.txt")), "");

    ASSERT_EQ(proposedFolder.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(proposedFolder[i], folder);
        EXPECT_EQ(proposedFiles[i], folder + QStringLiteral("/搜索关键词列表文件.txt"));
    }
}

TEST_F(SaveTest, ASavedListReadsBackAsTheKeywordsCreated) {
    form.SpeedButton2->click();
    answer = PathToQs(dir.File("搜索关键词列表文件.txt"));
    form.SpeedButton1->click();
    StringList keywords;
    keywords.LoadFromFile(dir.File("搜索关键词列表文件.txt"));
    ASSERT_EQ(keywords.Count(), 8U);
    EXPECT_EQ(keywords.Item(0), G("广州 服装 传真："));
    EXPECT_EQ(keywords.Item(7), G("广州 时装 FAX："));
    EXPECT_EQ(test::ReadFile(dir.File("搜索关键词列表文件.txt")), keywords.Text());
}

TEST_F(SaveTest, CancelWritesNothing) {
    form.SpeedButton2->click();
    answer.reset();
    form.SpeedButton1->click();
    EXPECT_EQ(proposedFolder.size(), 1);
    EXPECT_FALSE(test::FileExists(dir.File("搜索关键词列表文件.txt")));
}

TEST_F(SaveTest, AFileThatCannotBeCreatedIsReportedAndChangesNothing) {
    form.show();
    form.SpeedButton2->click();
    const QString before = form.Memo3->toPlainText();
    const std::string missing = dir.File("no such folder/k.txt");
    answer = PathToQs(missing);
    const QString text = BoxText([&] { form.SpeedButton1->click(); });
    EXPECT_EQ(text, QStringLiteral("Cannot create file ") + PathToQs(missing) + QStringLiteral("."));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Memo3->toPlainText(), before);
    EXPECT_EQ(MemoText(*form.Memo1), G("广州 服装\r\n广州 服饰\r\n广州 制衣\r\n广州 时装"));

    // A save that breaks off before the new file is complete keeps the old one.
    const std::string existing = dir.File("keep.txt");
    test::WriteFile(existing, "old list\r\n");
    answer = PathToQs(existing);
    AtomicWriteTestHook::BeforeRename() = [&](const std::string&) {
        throw SystemError("Cannot create file " + existing);
    };
    EXPECT_EQ(BoxText([&] { form.SpeedButton1->click(); }), PathToQs("Cannot create file " + existing + "."));
    EXPECT_EQ(test::ReadFile(existing), "old list\r\n");
    EXPECT_EQ(form.Memo3->toPlainText(), before);
}

TEST_F(KeywordBuilderDialog, MainWindowOpensOneBuilderModallyThatKeepsItsContents) {
    TForm1 window;
    ASSERT_EQ(window.Form3, nullptr);
    WithModal(
        [&](QWidget* modal) {
            ASSERT_NE(window.Form3, nullptr);
            EXPECT_EQ(modal, window.Form3);
            EXPECT_TRUE(window.Form3->isModal());
            window.Form3->Memo1->setPlainText(QStringLiteral("深圳 电子"));
            window.Form3->SpeedButton2->click();
            window.Form3->Memo3->moveCursor(QTextCursor::End);
            window.Form3->Memo3->insertPlainText(QStringLiteral("typed"));
            window.Form3->close();
        },
        [&] { window.SpeedButton6Click(); });
    ASSERT_NE(window.Form3, nullptr);
    EXPECT_FALSE(window.Form3->isVisible());
    TForm3* first = window.Form3;

    WithModal(
        [&](QWidget* modal) {
            EXPECT_EQ(modal, first);
            EXPECT_EQ(first->Memo1->toPlainText(), QStringLiteral("深圳 电子"));
            EXPECT_EQ(first->Memo2->toPlainText(), QStringLiteral("传真：\nFAX："));
            EXPECT_EQ(first->Memo3->toPlainText(), QStringLiteral("深圳 电子 传真：\n深圳 电子 FAX：\ntyped"));
            first->close();
        },
        [&] { window.SpeedButton6Click(); });
    EXPECT_EQ(window.Form3, first);
}

}  // namespace
}  // namespace tavrisk::app
