#include "harvest/FoundNumber.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace tavrisk {
namespace {

using test::G;

// 2026-12-11 17:25:30 UTC.
constexpr std::time_t kFound = 1797009930;

class FoundNumberTest : public ::testing::Test {
protected:
    FoundNumberTest() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST_F(FoundNumberTest, CsvRowsQuoteOnlyWhatNeedsIt) {
    EXPECT_EQ(CsvHeading(), G("传真,关键字,页偏移,网址,时间\r\n"));
    struct Case {
        const char* name;
        NumberSource source;
        std::string row;
    };
    const std::string url = "http://h/baidu?lm=0&word=a&pn=20&cl=3";
    const Case cases[] = {
        {"plain",
         {G("广州 服装 传真："), 20, url, kFound},
         "0571-1234567," + G("广州 服装 传真：") + ",20," + url + ",2026-12-11 17:25:30\r\n"},
        {"comma and quote in the keyword",
         {"a,\"b\"", 0, url, kFound},
         "0571-1234567,\"a,\"\"b\"\"\",0," + url + ",2026-12-11 17:25:30\r\n"},
        {"no source", {}, "0571-1234567,,,,\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CsvRow("0571-1234567", c.source), c.row);
    }
}

TEST_F(FoundNumberTest, TsvRowsHaveNoTabOrBreakInsideAField) {
    const NumberSource source{"a\tb\r\n", 10, "http://h/x", kFound};
    EXPECT_EQ(TsvRow("020-87654321", source), "020-87654321\ta b  \t10\thttp://h/x\t2026-12-11 17:25:30\n");
    EXPECT_EQ(TsvRow("020-87654321", {}), "020-87654321\t\t\t\t\n");
}

TEST_F(FoundNumberTest, TimeIsLocal) {
    setenv("TZ", "CST-8", 1);
    tzset();
    EXPECT_EQ(FoundTimeText(kFound), "2026-12-12 01:25:30");
    EXPECT_EQ(FoundTimeText(0), "");
}

}  // namespace
}  // namespace tavrisk
