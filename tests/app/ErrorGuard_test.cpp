#include "app/ErrorGuard.h"

#include "app/Texts.h"
#include "platform/Error.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QMessageBox>

#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::CatchModalBox;
using test::TestApplication;

// Every error a handler raises ends in the standard error box: the title as
// caption, the stop icon, the text by the error-box rule. The handler's work
// before the error stays done.
TEST(ErrorGuard, ShowsEveryErrorInTheStandardErrorBox) {
    TestApplication();
    struct Case {
        std::function<void()> raise;
        QString text;
    };
    const Case cases[] = {
        {[] { throw SystemError(tavrisk::test::G("请先导入关键字列表文件")); },
         QStringLiteral("请先导入关键字列表文件.")},
        {[] { throw SystemError("Cannot open file /x/k.txt"); }, QStringLiteral("Cannot open file /x/k.txt.")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("Out of memory.")},
        {[] { throw std::runtime_error("broken-"); }, QStringLiteral("broken-")},
    };
    for (const auto& c : cases) {
        int before = 0;
        const auto shown = CatchModalBox([&] {
            Guarded(nullptr, [&] {
                before = 1;
                c.raise();
            });
        });
        ASSERT_TRUE(shown.has_value()) << c.text.toStdString();
        EXPECT_EQ(shown->title, AppTitle());
        EXPECT_EQ(shown->text, c.text);
        EXPECT_EQ(shown->icon, QMessageBox::Critical);
        EXPECT_EQ(before, 1);
    }
}

TEST(ErrorGuard, ShowsNothingWhenTheHandlerSucceeds) {
    TestApplication();
    bool ran = false;
    const auto shown = CatchModalBox([&] { Guarded(nullptr, [&] { ran = true; }); });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(shown.has_value());
}

}  // namespace
}  // namespace tavrisk::app
