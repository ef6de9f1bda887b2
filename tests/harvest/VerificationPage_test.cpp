#include "harvest/VerificationPage.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrisk {
namespace {

using test::G;

TEST(VerificationPage, TextOrWhereTheViewWasTaken) {
    struct Case {
        const char* name;
        std::string text;
        std::string location;
        bool verification;
    };
    const Case cases[] = {
        {"results", G("广州 服装 传真：020-1234567 下一页>"), "http://www.baidu.com/baidu?word=a&pn=0", false},
        {"empty page", "", "", false},
        {"security check title", G("百度安全验证\r\n网络不给力"), "", true},
        {"please verify", G("为了您的安全，请完成验证"), "http://www.baidu.com/baidu?word=a", true},
        {"wappass host", "", "https://wappass.baidu.com/static/captcha/tuxing.html", true},
        {"captcha path, any case", "", "http://www.baidu.com/CAPTCHA/check", true},
        {"no scheme", "", "wappass.example/x", true},
        {"words only in the query", "", "http://www.baidu.com/baidu?word=captcha+wappass&pn=0", false},
        {"words only in the fragment", "", "http://www.baidu.com/s#captcha", false},
        {"keyword in the text is not the label", G("安全验证 服务 传真：010-1234567"), "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsVerificationPage(c.text, c.location), c.verification);
    }
}

}  // namespace
}  // namespace tavrisk
