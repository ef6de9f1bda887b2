#include "files/NumberMerge.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::G;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct MergeCase {
    std::string name;
    std::vector<std::string> sources;  // file contents, in the order chosen
    std::string result;                // the destination's bytes
    std::size_t count;
};

const MergeCase kCases[] = {
    {"two files",
     {"0571-1111111\r\n0571-2222222\r\n", "0571-1111111\r\n010-3333333\r\n"},
     "010-3333333\r\n0571-1111111\r\n0571-2222222\r\n",
     3},
    {"one file", {"333\r\n111\r\n222\r\n111\r\n"}, "111\r\n222\r\n333\r\n", 3},
    {"no final line break runs into the next source", {"111\r\n222", "333\r\n"}, "111\r\n222333\r\n", 2},
    {"empty lines give one empty line at the top", {"b\r\n\r\na\r\n", "\r\n\r\n"}, "\r\na\r\nb\r\n", 3},
    {"the first of equal lines is kept with its case", {"ABC\r\n", "abc\r\n"}, "ABC\r\n", 1},
    {"... whichever case comes first", {"abc\r\nAbc\r\nABC\r\n"}, "abc\r\n", 1},
    {"hyphen variants both stay", {"05711234567\r\n0571-1234567\r\n"}, "0571-1234567\r\n05711234567\r\n", 2},
    {"hyphens weigh less than digits", {"010-3333333\r\n0101-2222222\r\n"}, "0101-2222222\r\n010-3333333\r\n", 2},
    {"lone CRs and LFs end lines", {"3\r1\r2\r", "5\n4\n"}, "1\r\n2\r\n3\r\n4\r\n5\r\n", 5},
    {"a 0x00 byte ends everything", {std::string("b\r\na\0c\r\n", 7), "d\r\n"}, "a\r\nb\r\n", 2},
    {"a 0x00 right after a line end", {std::string("b\r\n\0", 4), "a\r\n"}, "b\r\n", 1},
    {"empty sources", {"", ""}, "", 0},
    {"Chinese lines in GBK order", {G("上海\r\n北京\r\n上海\r\n")}, G("北京\r\n上海\r\n"), 2},
};

class MergeTable : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeTable, WritesTheSortedLinesAndTheCount) {
    const MergeCase& c = GetParam();
    TempDir dir;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < c.sources.size(); ++i) {
        paths.push_back(dir.File("in" + std::to_string(i) + ".txt"));
        WriteFile(paths.back(), c.sources[i]);
    }
    const std::string dest = dir.File("out.txt");
    std::vector<std::string> status;
    EXPECT_EQ(MergeFiles(paths, dest, [&](const std::string& s) { status.push_back(s); }), c.count);
    EXPECT_EQ(ReadFile(dest), c.result);
    EXPECT_EQ(status, std::vector<std::string>{G("文件合并整理完毕！共计：") + std::to_string(c.count)});
    for (std::size_t i = 0; i < c.sources.size(); ++i) {
        EXPECT_EQ(ReadFile(paths[i]), c.sources[i]) << "a source was written";
    }
    // Nothing but the sources and the result is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
              static_cast<std::ptrdiff_t>(c.sources.size() + 1));
}

INSTANTIATE_TEST_SUITE_P(Merge, MergeTable, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char ch : info.param.name) {
        name += std::isalnum(static_cast<unsigned char>(ch)) != 0 ? ch : '_';
    }
    return name;
});

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SystemError& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(Merge, ASourceThatCannotBeOpenedStopsTheCopyButTheEarlierOnesAreSaved) {
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(dir.File("in" + std::to_string(i) + ".txt"));
        WriteFile(paths.back(), std::to_string(9 - i) + "\r\n");
    }
    std::filesystem::remove(paths[2]);  // gone after it was chosen
    const std::string dest = dir.File("out.txt");
    WriteFile(dest, "old\r\n");
    std::vector<std::string> status;
    EXPECT_EQ(ErrorOf([&] { MergeFiles(paths, dest, [&](const std::string& s) { status.push_back(s); }); }),
              "Cannot open file " + paths[2]);
    EXPECT_EQ(ReadFile(dest), "8\r\n9\r\n");
    EXPECT_EQ(status, std::vector<std::string>{G("文件合并整理完毕！共计：2")});
}

TEST(Merge, ADestinationThatCannotBeCreatedReportsTheLoadError) {
    TempDir dir;
    const std::string source = dir.File("in.txt");
    WriteFile(source, "1\r\n");
    std::vector<std::string> status;
    auto merge = [&](const std::string& dest) {
        return ErrorOf([&] { MergeFiles({source}, dest, [&](const std::string& s) { status.push_back(s); }); });
    };
    // Its folder is missing: nothing to load either.
    const std::string missing = dir.File("no/such/folder/out.txt");
    EXPECT_EQ(merge(missing), "Cannot open file " + missing);
    // It is a folder.
    const std::string folder = dir.File("folder");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(merge(folder), "Cannot open file " + folder);
    EXPECT_TRUE(status.empty()) << "the status keeps the busy text";
    EXPECT_EQ(ReadFile(source), "1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

// A read-only destination: the copy is refused, the old content is loaded
// and its save is refused too.
TEST(Merge, AReadOnlyDestinationIsNotReplaced) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    TempDir dir;
    const std::string source = dir.File("in.txt");
    const std::string dest = dir.File("out.txt");
    WriteFile(source, "1\r\n");
    WriteFile(dest, "b\r\na\r\n");
    chmod(dest.c_str(), 0444);
    std::vector<std::string> status;
    EXPECT_EQ(ErrorOf([&] { MergeFiles({source}, dest, [&](const std::string& s) { status.push_back(s); }); }),
              "Cannot create file " + dest);
    EXPECT_EQ(ReadFile(dest), "b\r\na\r\n");
    EXPECT_TRUE(status.empty());
}

TEST(Merge, ARefusedSaveLeavesTheOldDestinationWhole) {
    TempDir dir;
    const std::string source = dir.File("in.txt");
    const std::string dest = dir.File("out.txt");
    WriteFile(source, "2\r\n1\r\n");
    WriteFile(dest, "old\r\n");
    AtomicWriteTestHook::BeforeRename() = [](const std::string&) { throw SystemError("Stream write error"); };
    std::vector<std::string> status;
    EXPECT_EQ(ErrorOf([&] { MergeFiles({source}, dest, [&](const std::string& s) { status.push_back(s); }); }),
              "Stream write error");
    AtomicWriteTestHook::BeforeRename() = nullptr;
    EXPECT_EQ(ReadFile(dest), "old\r\n");
    EXPECT_TRUE(status.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

// A source that cannot be read stops the copy. When the destination is
// itself a source that was not yet copied whole, sorting the partial copy
// would drop its lines: it stays as it was. Once it was copied, the merge
// of what was read goes on as usual.
TEST(Merge, AnUnreadableSourceNeverCostsTheDestinationItsLines) {
    struct Case {
        const char* name;
        std::vector<std::string> order;  // "dest", "new", "gone" (a missing file), "dir" (a folder)
        std::string result;
    };
    const Case cases[] = {
        {"missing before it", {"new", "gone", "dest"}, "2\r\n1\r\n"},
        {"folder before it", {"dir", "dest"}, "2\r\n1\r\n"},
        {"missing first", {"gone", "new", "dest"}, "2\r\n1\r\n"},
        {"missing after it", {"dest", "gone", "new"}, "1\r\n2\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string dest = dir.File("master.txt");
        WriteFile(dest, "2\r\n1\r\n");
        WriteFile(dir.File("new.txt"), "3\r\n");
        std::filesystem::create_directory(dir.File("dir"));
        std::vector<std::string> sources;
        for (const auto& name : c.order) {
            sources.push_back(name == "dest" ? dest : dir.File(name == "new" ? "new.txt" : name));
        }
        std::vector<std::string> status;
        const std::string failed = c.order[0] == "dest" ? sources[1] : (c.order[0] == "new" ? sources[1] : sources[0]);
        EXPECT_EQ(ErrorOf([&] { MergeFiles(sources, dest, [&](const std::string& s) { status.push_back(s); }); }),
                  "Cannot open file " + failed)
            << c.name;
        EXPECT_EQ(ReadFile(dest), c.result) << c.name;
        EXPECT_EQ(status.size(), c.order[0] == "dest" ? 1U : 0U) << c.name;
    }
}

// The destination may be one of the sources, under its own name, another
// spelling of its path or a link: all of its lines are merged.
TEST(Merge, ADestinationThatIsASourceLosesNoLine) {
    TempDir dir;
    const std::string a = dir.File("a.txt");
    const std::string b = dir.File("b.txt");
    const std::string link = dir.File("link.txt");
    std::filesystem::create_symlink(a, link);
    const std::vector<std::string> spellings = {a, dir.Path() + "/./a.txt", dir.Path() + "//a.txt", link};
    for (const auto& dest : spellings) {
        SCOPED_TRACE(dest);
        WriteFile(a, "3\r\n1\r\n");
        WriteFile(b, "2\r\n1\r\n");
        EXPECT_EQ(MergeFiles({b, a}, dest, [](const std::string&) {}), 3U);
        EXPECT_EQ(ReadFile(a), "1\r\n2\r\n3\r\n");
        EXPECT_EQ(ReadFile(b), "2\r\n1\r\n");
        EXPECT_TRUE(std::filesystem::is_symlink(link));
    }
}

TEST(Merge, CopiesLargeSourcesWhole) {
    TempDir dir;
    std::string big;
    for (int i = 0; i < 30000; ++i) {
        big += std::to_string(100000 + (i * 7919) % 30000) + "\r\n";  // every number once, shuffled
    }
    ASSERT_GT(big.size(), 3 * 61440U);
    const std::string source = dir.File("big.txt");
    WriteFile(source, big);
    const std::string dest = dir.File("out.txt");
    EXPECT_EQ(MergeFiles({source, source}, dest, [](const std::string&) {}), 30000U);
    const std::string out = ReadFile(dest);
    EXPECT_EQ(out.size(), big.size());
    EXPECT_EQ(out.substr(0, 16), "100000\r\n100001\r\n");
}

// The window side: dialogs, pointer and status panel, recorded in order.
class FakeUi : public MergeUi {
public:
    std::optional<std::vector<std::string>> sources;
    std::optional<std::string> destination;
    std::vector<std::string> events;

    std::optional<std::vector<std::string>> ChooseSources() override {
        events.emplace_back("open dialog");
        return sources;
    }
    std::optional<std::string> ChooseDestination() override {
        events.emplace_back("save dialog");
        return destination;
    }
    void SetBusyPointer(bool busy) override { events.emplace_back(busy ? "busy" : "arrow"); }
    void SetStatusText(const std::string& text) override { events.push_back("status " + text); }
    void RepaintNow() override { events.emplace_back("repaint"); }
};

TEST(MergeCommand, CancellingEitherDialogTouchesNothing) {
    TempDir dir;
    const std::string source = dir.File("in.txt");
    WriteFile(source, "1\r\n");
    FakeUi cancelOpen;
    cancelOpen.destination = dir.File("out.txt");
    RunMergeCommand(cancelOpen);
    EXPECT_EQ(cancelOpen.events, std::vector<std::string>{"open dialog"});

    FakeUi cancelSave;
    cancelSave.sources = std::vector<std::string>{source};
    RunMergeCommand(cancelSave);
    EXPECT_EQ(cancelSave.events, (std::vector<std::string>{"open dialog", "save dialog"}));

    FakeUi nothingChosen;
    nothingChosen.sources = std::vector<std::string>{};
    nothingChosen.destination = dir.File("out.txt");
    RunMergeCommand(nothingChosen);
    EXPECT_EQ(nothingChosen.events, (std::vector<std::string>{"open dialog", "save dialog"}));
    EXPECT_FALSE(test::FileExists(dir.File("out.txt")));
}

TEST(MergeCommand, ShowsTheBusyTextThenTheCountAndRestoresThePointer) {
    TempDir dir;
    const std::string source = dir.File("in.txt");
    WriteFile(source, "2\r\n1\r\n");
    FakeUi ui;
    ui.sources = std::vector<std::string>{source};
    ui.destination = dir.File("out.txt");
    RunMergeCommand(ui);
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"open dialog", "save dialog", "busy", "status " + G("数据正处理中..."),
                                        "repaint", "status " + G("文件合并整理完毕！共计：2"), "arrow"}));
    EXPECT_EQ(ReadFile(dir.File("out.txt")), "1\r\n2\r\n");
}

TEST(MergeCommand, RestoresThePointerWhenTheMergeFails) {
    TempDir dir;
    FakeUi ui;
    const std::string missing = dir.File("missing.txt");
    ui.sources = std::vector<std::string>{missing};
    ui.destination = dir.File("out.txt");
    EXPECT_EQ(ErrorOf([&] { RunMergeCommand(ui); }), "Cannot open file " + missing);
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"open dialog", "save dialog", "busy", "status " + G("数据正处理中..."),
                                        "repaint", "status " + G("文件合并整理完毕！共计：0"), "arrow"}));
    EXPECT_EQ(ReadFile(dir.File("out.txt")), "");

    FakeUi bad;
    bad.sources = std::vector<std::string>{missing};
    bad.destination = dir.File("no/folder/out.txt");
    EXPECT_EQ(ErrorOf([&] { RunMergeCommand(bad); }), "Cannot open file " + *bad.destination);
    EXPECT_EQ(bad.events.back(), "arrow");
    EXPECT_EQ(bad.events[bad.events.size() - 2], "repaint") << "the busy text stays";
}

}  // namespace
}  // namespace tavrisk
