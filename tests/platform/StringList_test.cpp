#include "platform/StringList.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using Lines = std::vector<std::string>;

struct LoadCase {
    std::string name;
    std::string text;
    Lines lines;
};

const LoadCase kLoadCases[] = {
    {"empty", "", {}},
    {"crlf", "a\r\nb\r\n", {"a", "b"}},
    {"lf", "a\nb\n", {"a", "b"}},
    {"lone cr", "a\rb\r", {"a", "b"}},
    {"no final line end", "a\r\nb", {"a", "b"}},
    {"empty lines inside kept", "a\r\n\r\nb\r\n", {"a", "", "b"}},
    {"only a line end", "\r\n", {""}},
    {"two line ends at the end", "a\r\n\r\n", {"a", ""}},
    {"lf cr is two line ends", "a\n\rb", {"a", "", "b"}},
    {"nul ends the text", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
    {"nul right after cr", std::string("a\r\0b", 4), {"a"}},
    {"control bytes kept", "\t a \x1A\r\n", {"\t a \x1A"}},
};

TEST(StringList, LoadsByTheLineRules) {
    for (const auto& c : kLoadCases) {
        StringList list;
        list.LoadFromText(c.text);
        EXPECT_EQ(list.Items(), c.lines) << c.name;
    }
}

TEST(StringList, FileLoadSplitsAcrossBlocks) {
    // A CR LF pair straddling the 64 KiB read block must stay one line end.
    test::TempDir dir;
    std::string text(65535, 'x');
    text += "\r\nnext\r\n";
    test::WriteFile(dir.File("k.txt"), text);
    StringList list;
    list.LoadFromFile(dir.File("k.txt"));
    ASSERT_EQ(list.Count(), 2U);
    EXPECT_EQ(list.Item(0).size(), 65535U);
    EXPECT_EQ(list.Item(1), "next");
}

TEST(StringList, FileLoadMatchesTextLoad) {
    test::TempDir dir;
    for (const auto& c : kLoadCases) {
        test::WriteFile(dir.File("k.txt"), c.text);
        StringList list;
        list.LoadFromFile(dir.File("k.txt"));
        EXPECT_EQ(list.Items(), c.lines) << c.name;
    }
}

TEST(StringList, MissingFileRaisesCannotOpenAndKeepsEntries) {
    test::TempDir dir;
    StringList list;
    list.Add("kept");
    const std::string path = dir.File("none.txt");
    try {
        list.LoadFromFile(path);
        FAIL() << "no error";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + path);
    }
    EXPECT_EQ(list.Items(), Lines{"kept"});
}

TEST(StringList, FolderCannotBeOpenedAsAFile) {
    test::TempDir dir;
    StringList list;
    list.Add("kept");
    try {
        list.LoadFromFile(dir.Path());
        FAIL() << "no error";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + dir.Path());
    }
    EXPECT_EQ(list.Items(), Lines{"kept"});
}

TEST(StringList, FindUsesTheComparison) {
    StringList exact;
    exact.Add("a");
    exact.Add("B");
    exact.Add("b");
    EXPECT_EQ(exact.Find("b"), 2U);
    EXPECT_EQ(exact.Find("c"), std::nullopt);

    StringList caseless([](std::string_view a, std::string_view b) {
        const auto lower = [](std::string_view s) {
            std::string out(s);
            for (auto& ch : out) {
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            }
            return out;
        };
        return lower(a).compare(lower(b));
    });
    caseless.Add("a");
    caseless.Add("B");
    caseless.Add("b");
    EXPECT_EQ(caseless.Find("b"), 1U);  // the first that compares equal
}

TEST(StringList, SavesEveryEntryWithCrLf) {
    test::TempDir dir;
    StringList list;
    list.LoadFromText("0571-1\n\n0571-2");
    list.SaveToFile(dir.File("out.txt"));
    EXPECT_EQ(test::ReadFile(dir.File("out.txt")), "0571-1\r\n\r\n0571-2\r\n");
}

TEST(StringList, FailedSaveLeavesTheOldFileWhole) {
    test::TempDir dir;
    const std::string path = dir.File("out.txt");
    test::WriteFile(path, "old\r\n");
    AtomicWriteTestHook::BeforeRename() = [](const std::string&) { throw SystemError("crash"); };
    StringList list;
    list.Add("new");
    EXPECT_THROW(list.SaveToFile(path), SystemError);
    AtomicWriteTestHook::BeforeRename() = nullptr;
    EXPECT_EQ(test::ReadFile(path), "old\r\n");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(StringList, SaveIntoMissingFolderRaisesCannotCreate) {
    test::TempDir dir;
    const std::string path = dir.File("no/such/out.txt");
    StringList list;
    try {
        list.SaveToFile(path);
        FAIL() << "no error";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + path);
    }
}

TEST(StringList, SaveThroughALinkReplacesItsTarget) {
    test::TempDir dir;
    test::WriteFile(dir.File("real.txt"), "old\r\n");
    ASSERT_EQ(symlink("real.txt", dir.File("link.txt").c_str()), 0);
    StringList list;
    list.Add("new");
    list.SaveToFile(dir.File("link.txt"));
    EXPECT_EQ(test::ReadFile(dir.File("real.txt")), "new\r\n");
    struct stat st {};
    ASSERT_EQ(lstat(dir.File("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

}  // namespace
}  // namespace tavrisk
