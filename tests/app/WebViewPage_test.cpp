#include "app/WebViewPage.h"

#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::G;

QApplication& App() {
    static int argc = 1;
    static char name[] = "WebViewPage_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);  // never torn down among the statics at exit
    return *app;
}

TEST(WebViewPage, BrowserTextBecomesGbkWithCrLf) {
    struct Case {
        const char* name;
        QString text;
        std::string page;
    };
    const Case cases[] = {
        {"empty", QString(), ""},
        {"line feeds", QStringLiteral("a\nb\n\nc"), "a\r\nb\r\n\r\nc"},
        {"CR LF kept single", QStringLiteral("a\r\nb"), "a\r\nb"},
        {"Chinese", QStringLiteral("传真：0571-1234567\n下一页>"), G("传真：0571-1234567") + "\r\n" + G("下一页>")},
        {"outside GBK", QStringLiteral("a\u0E01b"), "a?b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PageTextFromBrowser(c.text), c.page);
    }
}

TEST(WebViewPage, TheEngineStartsOnlyWithTheFirstPage) {
    App();
    QWidget host;
    WebViewPage view(&host);
    EXPECT_EQ(view.View(), nullptr);
    EXPECT_EQ(view.PageText(), "");
    // A URL that cannot be loaded at all is refused before anything starts.
    EXPECT_THROW(view.Navigate("http://exa mple.com/%zz"), SystemError);
    EXPECT_EQ(view.View(), nullptr);
}

}  // namespace
}  // namespace tavrisk::app
