// The window's search commands: the boxes they show, what they leave
// unchanged when a start ends early, and one whole run with the real web view
// against the local test engine (it takes the seconds a real run takes).
#include "app/MainWindow.h"
#include "app/SearchSession.h"
#include "app/Texts.h"

#include "tests/support/TestEngine.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tavrisk::app {
namespace {

using test::G;
using test::TestEngine;
using ::testing::ElementsAreArray;

QApplication& App() {
    static int argc = 1;
    static char name[] = "SearchCommands_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the boxes leave state behind that a QApplication torn
    // down among the static objects at exit trips over.
    static auto* app = [] {
        if (geteuid() == 0) {
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        }
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return new QApplication(argc, argv);
    }();
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
    int maxLength = 0;
    QString selected;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        label = dialog->labelText();
        value = dialog->textValue();
        if (auto* field = dialog->findChild<QLineEdit*>()) {
            maxLength = field->maxLength();
            selected = field->selectedText();
        }
        dialog->setTextValue(QStringLiteral("abc"));
        CloseNextBox(boxes);
        dialog->accept();
    });
    form.N2Click();
    EXPECT_EQ(title, QStringLiteral("搜索参数设置"));
    EXPECT_EQ(label, QStringLiteral("请输入关键字搜索断点位置        "));
    EXPECT_EQ(value, QStringLiteral("1"));
    EXPECT_EQ(maxLength, 255);
    EXPECT_EQ(selected, QStringLiteral("1"));
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

TEST_F(SearchCommandsTest, AWholeRunWithTheWebView) {
    TestEngine engine;
    engine.AddKeyword(G("广州 服装 传真："), 5);  // more pages than the limit
    engine.AddKeyword("FAX machine", 1);          // no next-page link
    engine.AddKeyword(G("上海 电机"), 2);
    form.KeywordList.Add(G("广州 服装 传真："));
    form.KeywordList.Add("FAX machine");
    form.KeywordList.Add(G(" 上海 电机"));
    SearchSession& session = form.Session();
    session.SearchHost = engine.Host();
    session.Pieces.interval = [] { return 1; };
    session.Pieces.pageLimit = [] { return 3; };
    std::vector<std::string> numbers;
    session.Pieces.appendNumber = [&numbers](const std::string& number) { numbers.push_back(number); };
    std::vector<int> progressWritten;  // the keyword index at every write
    session.Services.SaveProgress = [this, &progressWritten] { progressWritten.push_back(form.NextKeywordIndex); };
    QEventLoop loop;
    session.Pieces.setPanel = [this, &loop](int panel, const std::string& text) {
        panels.emplace_back(panel, text);
        if (panel == 6 && text == G("搜索已经结束！")) {
            loop.quit();
        }
    };
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });  // proposes 0
    form.N2Click();
    ASSERT_TRUE(session.Timer1.Enabled());
    EXPECT_NE(session.WebBrowser1.View(), nullptr);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);  // only a guard against a hang
    loop.exec();

    const std::string path = "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=";
    const std::string word1 = path + "%B9%E3%D6%DD+%B7%FE%D7%B0+%B4%AB%D5%E6%A3%BA&pn=";
    const std::string word2 = path + "FAX+machine&pn=";
    const std::string word3 = path + "%C9%CF%BA%A3+%B5%E7%BB%FA&pn=";
    EXPECT_THAT(engine.Requests(), ElementsAreArray({word1 + "0&cl=3", word1 + "10&cl=3", word1 + "20&cl=3",
                                                     word2 + "0&cl=3", word3 + "0&cl=3", word3 + "10&cl=3"}));
    std::vector<std::string> expected;
    for (const auto& [keyword, pn] :
         std::vector<std::pair<int, int>>{{1, 0}, {1, 10}, {1, 20}, {2, 0}, {3, 0}, {3, 10}}) {
        for (const std::string& number : TestEngine::NumbersOn(keyword, pn)) {
            expected.push_back(number);
        }
    }
    EXPECT_EQ(numbers, expected);
    std::vector<std::string> keywordPanel;
    std::string foundPanel;
    for (const auto& [panel, text] : panels) {
        if (panel == 3) {
            keywordPanel.push_back(text);
        } else if (panel == 5) {
            foundPanel = text;
        }
    }
    EXPECT_THAT(keywordPanel, ElementsAreArray({"1", "1", "1", "2", "3", "3"}));
    EXPECT_EQ(foundPanel, "12");
    EXPECT_THAT(progressWritten, ElementsAreArray({3}));
    EXPECT_FALSE(session.Timer1.Enabled());
}

}  // namespace
}  // namespace tavrisk::app
