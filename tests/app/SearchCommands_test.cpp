// The window's search commands: the boxes they show and what they leave
// unchanged when a start ends early. No page is loaded here.
#include "app/MainWindow.h"
#include "app/SearchSession.h"
#include "app/Texts.h"

#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tavrisk::app {
namespace {

using test::G;

QApplication& App() {
    static int argc = 1;
    static char name[] = "SearchCommands_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the boxes leave state behind that a QApplication torn
    // down among the static objects at exit trips over.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// Acts on the next modal window once it is open (from inside its own loop).
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(10, [act = std::move(act)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else {
            WhenModal(std::move(act));
        }
    });
}

struct Box {
    QString caption;
    QString text;
};

// Records the next message box and closes it.
void CloseNextBox(std::vector<Box>& boxes) {
    WhenModal([&boxes](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        boxes.push_back({box->windowTitle(), box->text()});
        box->done(0);
    });
}

class SearchCommandsTest : public ::testing::Test {
protected:
    SearchCommandsTest() {
        form.Session().Services.GetLocalAddress = [this] { return address; };
        form.Session().Pieces.setPanel = [this](int panel, const std::string& text) {
            panels.emplace_back(panel, text);
        };
    }

    QApplication& app = App();  // before any widget
    TForm1 form;
    std::string address = "10.0.0.5";
    std::vector<std::pair<int, std::string>> panels;
    std::vector<Box> boxes;
};

TEST_F(SearchCommandsTest, OffLineShowsTheInformationBox) {
    address = "127.0.0.1";
    CloseNextBox(boxes);
    form.N2Click();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("信息"));
    EXPECT_EQ(boxes[0].text, QStringLiteral("您还没有连接到网上！"));
    EXPECT_TRUE(panels.empty());
}

TEST_F(SearchCommandsTest, AnEmptyListGoesToTheStandardErrorBox) {
    CloseNextBox(boxes);
    form.N2Click();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].caption, AppTitle());
    EXPECT_EQ(boxes[0].text, QStringLiteral("请先导入关键字列表文件."));
}

TEST_F(SearchCommandsTest, ThePromptAndAnEntryThatIsNotANumber) {
    form.KeywordList.Add("a");
    form.KeywordList.Add("b");
    form.NextKeywordIndex = 1;
    QString title;
    QString label;
    QString value;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        label = dialog->labelText();
        value = dialog->textValue();
        dialog->setTextValue(QStringLiteral("abc"));
        CloseNextBox(boxes);
        dialog->accept();
    });
    form.N2Click();
    EXPECT_EQ(title, QStringLiteral("搜索参数设置"));
    EXPECT_EQ(label, QStringLiteral("请输入关键字搜索断点位置        "));
    EXPECT_EQ(value, QStringLiteral("1"));
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].caption, AppTitle());
    EXPECT_EQ(boxes[0].text, QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(form.NextKeywordIndex, 1);
    EXPECT_TRUE(panels.empty());
}

TEST_F(SearchCommandsTest, CancellingThePromptChangesNothing) {
    form.KeywordList.Add("a");
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    form.N2Click();
    EXPECT_TRUE(panels.empty());
    EXPECT_FALSE(form.Session().Timer1.Enabled());
    EXPECT_EQ(form.Session().WebBrowser1.View(), nullptr);
}

TEST_F(SearchCommandsTest, StopWithNoRun) {
    form.N3Click();
    ASSERT_EQ(panels.size(), 1U);
    EXPECT_EQ(panels[0].first, 6);
    EXPECT_EQ(panels[0].second, G("终止搜索..."));
    EXPECT_TRUE(form.Session().Run.StopRequested);
    EXPECT_FALSE(form.Session().Timer1.Enabled());
}

}  // namespace
}  // namespace tavrisk::app
