// The window's search commands: the boxes they show, what they leave
// unchanged when a start ends early, and one whole run with the real web view
// against the local test engine (it takes the seconds a real run takes).
#include "app/MainWindow.h"
#include "app/NumberListModel.h"
#include "app/SearchSession.h"
#include "app/SpinEdit.h"
#include "app/StatusBar.h"
#include "app/Texts.h"
#include "tests/app/AppTestSupport.h"

#include "tests/support/TestEngine.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QTableView>
#include <QTimer>
#include <QWebEngineView>
#include <QToolButton>

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tavrisk::app {
namespace {

using app::test::CatchModalBox;
using app::test::ScriptedBoxes;
using tavrisk::test::G;
using tavrisk::test::TestEngine;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

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
        auto* application = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return application;
    }();
    return *app;
}

// This computer as the connectivity check sees it: one name, one address.
class OneAddress : public HostResolver {
public:
    std::string address = "10.0.0.5";
    bool HostName(char* buffer, std::size_t size) override {
        std::strncpy(buffer, "desk", size);
        return true;
    }
    std::vector<in_addr> LookUp(const char* /*name*/) override {
        in_addr a{};
        inet_pton(AF_INET, address.c_str(), &a);
        return {a};
    }
};

class SearchCommandsTest : public ::testing::Test {
protected:
    SearchCommandsTest() {
        form.ExeDir = dir.Path() + "/";
        form.SettingsFileName = "tavrisk.ini";
        form.Session().Resolver = &resolver;
    }

    QString Panel(int index) const { return form.StatusBar1->PanelText(index); }
    std::vector<std::string> ListedNumbers() const {
        std::vector<std::string> numbers;
        const QAbstractItemModel* model = form.ListView1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            numbers.push_back(Gbk(model->index(row, 0).data().toString()));
        }
        return numbers;
    }

    QApplication& app = App();  // before any widget
    tavrisk::test::TempDir dir;
    TForm1 form;
    OneAddress resolver;
    ScriptedBoxes boxes;
    BoxesOverride useBoxes{boxes};
};

TEST_F(SearchCommandsTest, OffLineShowsTheInformationBox) {
    resolver.address = "127.0.0.1";
    const QString before = Panel(6);
    form.N2Click();
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_EQ(boxes.asked[0].kind, QStringLiteral("information"));
    EXPECT_EQ(boxes.asked[0].text, QStringLiteral("您还没有连接到网上！"));
    EXPECT_EQ(Panel(6), before);
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
}

TEST_F(SearchCommandsTest, AnEmptyListGoesToTheStandardErrorBox) {
    const auto shown = CatchModalBox([this] { form.N2Click(); });
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, AppTitle());
    EXPECT_EQ(shown->text, QStringLiteral("请先导入关键字列表文件."));
    EXPECT_EQ(shown->icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(SearchCommandsTest, ThePromptAndAnEntryThatIsNotANumber) {
    form.KeywordList.Add("a");
    form.KeywordList.Add("b");
    form.NextKeywordIndex = 1;
    form.ListModel->Append("0571-1234567");
    boxes.inputs.push_back(QStringLiteral("abc"));
    const auto shown = CatchModalBox([this] { form.N2Click(); });
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_EQ(boxes.asked[0].kind, QStringLiteral("input"));
    EXPECT_EQ(boxes.asked[0].title, QStringLiteral("搜索参数设置"));
    EXPECT_EQ(boxes.asked[0].text, QStringLiteral("请输入关键字搜索断点位置        "));
    EXPECT_EQ(boxes.asked[0].proposed, QStringLiteral("1"));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, AppTitle());
    EXPECT_EQ(shown->text, QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(form.NextKeywordIndex, 1);
    EXPECT_EQ(form.ListModel->Count(), 1U);
    EXPECT_FALSE(form.Session().Timer1.Enabled());
}

TEST_F(SearchCommandsTest, CancellingThePromptChangesNothing) {
    form.KeywordList.Add("a");
    boxes.inputs.push_back(std::nullopt);
    form.N2Click();
    EXPECT_FALSE(form.Session().Timer1.Enabled());
    EXPECT_EQ(form.Session().WebBrowser1.View(), nullptr);
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
}

TEST_F(SearchCommandsTest, BeyondTheEndShowsThePlainBoxAndStartsAtTheFirstKeyword) {
    form.KeywordList.Add("a");
    form.KeywordList.Add("b");
    form.Session().Run.StopRequested = true;
    boxes.inputs.push_back(QStringLiteral("2"));
    form.N2Click();
    ASSERT_EQ(boxes.asked.size(), 2U);
    EXPECT_EQ(boxes.asked[1].kind, QStringLiteral("plain"));
    EXPECT_EQ(boxes.asked[1].text, QStringLiteral("搜索断点位置超过关键字文件行数！"));
    EXPECT_EQ(Panel(3), QStringLiteral("1"));
    EXPECT_EQ(Panel(5), QStringLiteral("0"));
    EXPECT_EQ(Panel(6), QStringLiteral("启动搜索请稍候..."));
    EXPECT_FALSE(form.SpeedButton2->isEnabled());
    EXPECT_TRUE(form.SpeedButton3->isEnabled());
    EXPECT_FALSE(form.SpeedButton4->isEnabled());
    EXPECT_TRUE(form.Session().Timer1.Enabled());
    // Stop before any page was read: the buttons come back at once.
    form.N3Click();
    EXPECT_EQ(Panel(6), QStringLiteral("终止搜索..."));
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
    EXPECT_FALSE(form.SpeedButton3->isEnabled());
    EXPECT_TRUE(form.SpeedButton4->isEnabled());
}

TEST_F(SearchCommandsTest, AJournalThatCannotBeWrittenIsShownOnceAndTheListGoesOn) {
    tavrisk::test::WriteFile(dir.File("results"), "a file where the folder should be");
    SearchSession& session = form.Session();
    session.RunStarting();
    session.AppendResult("0571-1234567", {});
    session.AppendResult("0571-7654321", {});
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_EQ(boxes.asked[0].kind, QStringLiteral("information"));
    EXPECT_TRUE(boxes.asked[0].text.contains(QString::fromStdString(dir.File("results"))));
    EXPECT_EQ(form.ListModel->Count(), 2U);
    // The next run tries again and tells again.
    session.RunStarting();
    session.AppendResult("0571-1111111", {});
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.asked.size(), 2U);
}

TEST_F(SearchCommandsTest, StopWithNoRun) {
    form.N3Click();
    EXPECT_EQ(Panel(6), QStringLiteral("终止搜索..."));
    EXPECT_TRUE(form.Session().Run.StopRequested);
    EXPECT_FALSE(form.Session().Timer1.Enabled());
    EXPECT_FALSE(form.SpeedButton3->isEnabled());
}

TEST_F(SearchCommandsTest, AWholeRunWithTheWebView) {
    TestEngine engine;
    engine.AddKeyword(G("广州 服装 传真："), 5);  // more pages than the limit
    engine.AddKeyword("FAX machine", 1);          // no next-page link
    engine.AddKeyword(G("上海 电机"), 2);
    form.KeywordList.Add(G("广州 服装 传真："));
    form.KeywordList.Add("FAX machine");
    form.KeywordList.Add(G(" 上海 电机"));
    form.SearchHost = engine.Host();
    form.SpinEdit1->SetValue(1);
    form.SpinEdit2->SetValue(3);
    form.CheckBox1->setChecked(false);
    form.CheckBox2->setChecked(false);
    SearchSession& session = form.Session();
    boxes.inputs.push_back(QStringLiteral("0"));
    form.N2Click();
    ASSERT_TRUE(session.Timer1.Enabled());
    ASSERT_NE(session.WebBrowser1.View(), nullptr);
    // The web view sits in the web view area.
    EXPECT_TRUE(form.Panel11->isAncestorOf(session.WebBrowser1.View()));

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Panel(6) == QStringLiteral("搜索已经结束！")) {
            loop.quit();
        }
    });
    poll.start(20);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);  // only a guard against a hang
    loop.exec();
    ASSERT_EQ(Panel(6), QStringLiteral("搜索已经结束！"));

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
    EXPECT_EQ(ListedNumbers(), expected);
    // Each number knows the page it came from.
    const NumberSource& last = form.ListModel->Source(expected.size() - 1);
    EXPECT_EQ(last.keyword, G(" 上海 电机"));
    EXPECT_EQ(last.pageOffset, 10);
    EXPECT_EQ(last.pageUrl, "http://" + engine.Host() + word3 + "10&cl=3");
    EXPECT_NE(last.foundAt, 0);
    // The run's journal holds the same numbers, as a number file.
    const QStringList journals = QDir(QString::fromStdString(dir.File("results"))).entryList(QDir::Files);
    ASSERT_EQ(journals.size(), 1);
    std::string journalText;
    for (const std::string& number : expected) {
        journalText += number + "\r\n";
    }
    EXPECT_EQ(tavrisk::test::ReadFile(dir.File("results/" + journals[0].toStdString())), journalText);
    EXPECT_EQ(Panel(3), QStringLiteral("3"));
    EXPECT_EQ(Panel(5), QStringLiteral("12"));
    EXPECT_FALSE(session.Timer1.Enabled());
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
    EXPECT_FALSE(form.SpeedButton3->isEnabled());
    EXPECT_TRUE(form.SpeedButton4->isEnabled());
    // The finish wrote the progress: three keywords taken.
    EXPECT_THAT(tavrisk::test::ReadFile(dir.File("tavrisk.ini")), HasSubstr("process=2\r\n"));
    EXPECT_EQ(form.NextKeywordIndex, 3);
}

TEST_F(SearchCommandsTest, TheEnginesVerificationPageEndsTheRunInItsPlace) {
    TestEngine engine;
    engine.AddKeyword("a", 3);
    engine.AddKeyword("b", 3);
    engine.RequireVerificationAfter(0);
    form.KeywordList.Add("a");
    form.KeywordList.Add("b");
    form.SearchHost = engine.Host();
    form.SpinEdit1->SetValue(1);
    form.SpinEdit2->SetValue(3);
    boxes.inputs.push_back(QStringLiteral("1"));
    form.N2Click();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!form.Session().Timer1.Enabled()) {
            loop.quit();
        }
    });
    poll.start(20);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // only a guard against a hang
    loop.exec();
    EXPECT_EQ(Panel(6), QStringLiteral("搜索引擎要求验证，搜索已中断！"));
    ASSERT_EQ(boxes.asked.size(), 2U);
    EXPECT_EQ(boxes.asked[1].kind, QStringLiteral("information"));
    EXPECT_TRUE(boxes.asked[1].text.startsWith(QStringLiteral("搜索引擎要求完成安全验证")));
    EXPECT_EQ(engine.Requests().size(), 1U);
    EXPECT_EQ(form.ListModel->Count(), 0U);
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
    EXPECT_FALSE(form.SpeedButton3->isEnabled());
    // The page stays shown for the user to complete.
    EXPECT_TRUE(form.Session().WebBrowser1.View()->url().path().contains(QStringLiteral("wappass")));
    // The progress keeps the interrupted keyword, and so does the next prompt.
    EXPECT_THAT(tavrisk::test::ReadFile(dir.File("tavrisk.ini")), HasSubstr("process=1\r\n"));
    EXPECT_EQ(form.NextKeywordIndex, 1);
}

}  // namespace
}  // namespace tavrisk::app
