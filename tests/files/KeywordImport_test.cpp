#include "files/KeywordImport.h"

#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using Lines = std::vector<std::string>;

// The main window as the import sees it: the file field, status panel 1 and
// the result list, and a log of the calls in their order.
class FakeWindow : public KeywordImportWindow {
public:
    std::optional<std::string> chosen;
    std::string folderShown;
    std::string edit5 = "old.txt";
    std::string panel1 = "7";
    Lines results = {"020-12345678"};
    Lines log;
    std::function<void()> afterCount;

    std::optional<std::string> ChooseKeywordFile(const std::string& folder) override {
        folderShown = folder;
        log.push_back("choose");
        return chosen;
    }
    void ShowKeywordFilePath(const std::string& path) override {
        edit5 = path;
        log.push_back("path");
    }
    void SetLineCountText(const std::string& text) override {
        panel1 = text;
        log.push_back("count");
        if (afterCount) {
            afterCount();
        }
    }
    void ClearResultList() override {
        results.clear();
        log.push_back("clear");
    }
};

StringList OldKeywords() {
    StringList list;
    list.Add("old 1");
    list.Add("old 2");
    return list;
}

// Runs the import and returns its error message, or "" when it succeeded.
std::string Import(FakeWindow& window, StringList& keywords) {
    try {
        ImportKeywordList(window, keywords, "/opt/tavrisk/");
    } catch (const SystemError& e) {
        return e.Message();
    }
    return "";
}

TEST(KeywordImport, FileContentsGiveCountAndEntries) {
    struct Case {
        std::string name;
        std::string text;
        std::string panel1;
        Lines entries;
    };
    const Case cases[] = {
        {"empty file", "", "0", {}},
        {"two lines with crlf", "a\r\nb\r\n", "2", {"a", "b"}},
        {"second line without end", "a\r\nb", "2", {"a", "b"}},
        {"empty line inside", "a\r\n\r\nc\r\n", "3", {"a", "", "c"}},
        {"lf alone", "a\n\nc\n", "3", {"a", "", "c"}},
        {"lone cr", "a\rb\rc", "1", {"a", "b", "c"}},
        {"0x1A after the second line",
         "a\r\nb\r\n\x1A"
         "c\r\nd\r\n",
         "2",
         {"a", "b",
          "\x1A"
          "c",
          "d"}},
        {"0x00 in the third line", std::string("a\r\nb\r\nc\0x\r\nd\r\n", 14), "4", {"a", "b", "c"}},
        {"repeated keyword", "fax\r\nfax\r\n", "2", {"fax", "fax"}},
        {"lines untrimmed",
         " \t" + test::G("广州 服装 传真：") + " \r\n",
         "1",
         {" \t" + test::G("广州 服装 传真：") + " "}},
        {"byte-order mark is part of the first line",
         "\xEF\xBB\xBF"
         "a\r\n",
         "1",
         {"\xEF\xBB\xBF"
          "a"}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("k.txt");
        test::WriteFile(path, c.text);
        FakeWindow window;
        window.chosen = path;
        StringList keywords = OldKeywords();
        EXPECT_EQ(Import(window, keywords), "") << c.name;
        EXPECT_EQ(window.log, (Lines{"choose", "path", "count", "clear"})) << c.name;
        EXPECT_EQ(window.folderShown, "/opt/tavrisk/");
        EXPECT_EQ(window.edit5, path) << c.name;
        EXPECT_EQ(window.panel1, c.panel1) << c.name;
        EXPECT_EQ(keywords.Items(), c.entries) << c.name;
        EXPECT_TRUE(window.results.empty()) << c.name;
    }
}

TEST(KeywordImport, CancellingChangesNothing) {
    FakeWindow window;
    StringList keywords = OldKeywords();
    EXPECT_FALSE(ImportKeywordList(window, keywords, "/opt/tavrisk/"));
    EXPECT_EQ(window.log, Lines{"choose"});
    EXPECT_EQ(window.edit5, "old.txt");
    EXPECT_EQ(window.panel1, "7");
    EXPECT_EQ(keywords.Items(), OldKeywords().Items());
    EXPECT_EQ(window.results, Lines{"020-12345678"});
}

TEST(KeywordImport, FailedCountShowsOnlyThePath) {
    test::TempDir dir;
    test::WriteFile(dir.File("file.txt"), "a\r\n");
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {dir.File("none.txt"), "File not found"},
        {dir.File("no/such/k.txt"), "Invalid filename"},
        {dir.File("file.txt/k.txt"), "Invalid filename"},
        {dir.Path(), "File access denied"},
        {"/proc/self/mem", "I/O error 5"},  // opens, but its first block cannot be read
    };
    for (const auto& c : cases) {
        FakeWindow window;
        window.chosen = c.path;
        StringList keywords = OldKeywords();
        EXPECT_EQ(Import(window, keywords), c.message) << c.path;
        EXPECT_EQ(window.log, (Lines{"choose", "path"})) << c.path;
        EXPECT_EQ(window.edit5, c.path);
        EXPECT_EQ(window.panel1, "7");
        EXPECT_EQ(keywords.Items(), OldKeywords().Items());
        EXPECT_EQ(window.results, Lines{"020-12345678"});
    }
}

TEST(KeywordImport, FailedLoadLeavesTheCountAndAnEmptyList) {
    // The file goes away between the count and the load.
    test::TempDir dir;
    const std::string path = dir.File("关键字.txt");
    test::WriteFile(path, "a\r\nb\r\n");
    FakeWindow window;
    window.chosen = path;
    window.afterCount = [&] { ASSERT_EQ(unlink(path.c_str()), 0); };
    StringList keywords = OldKeywords();
    EXPECT_EQ(Import(window, keywords), "Cannot open file " + test::G(path));
    EXPECT_EQ(window.log, (Lines{"choose", "path", "count"}));
    EXPECT_EQ(window.panel1, "2");
    EXPECT_EQ(keywords.Count(), 0U);
    EXPECT_EQ(window.results, Lines{"020-12345678"});
}

TEST(KeywordImport, SecondImportReplacesTheList) {
    test::TempDir dir;
    test::WriteFile(dir.File("one.txt"), "a\r\nb\r\nc\r\n");
    test::WriteFile(dir.File("two.txt"), "x\r\n");
    StringList keywords;
    FakeWindow window;
    window.chosen = dir.File("one.txt");
    ImportKeywordList(window, keywords, "/opt/tavrisk/");
    window.chosen = dir.File("two.txt");
    ImportKeywordList(window, keywords, "/opt/tavrisk/");
    EXPECT_EQ(keywords.Items(), Lines{"x"});
    EXPECT_EQ(window.panel1, "1");
    EXPECT_EQ(window.edit5, dir.File("two.txt"));
}

}  // namespace
}  // namespace tavrisk
