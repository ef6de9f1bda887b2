// What the user must never lose: whichever file the program replaces (the
// settings, a built keyword list, a saved number list), a full disk or a kill
// in the middle of the write leaves the old file exactly as it was.
#include "files/KeywordBuilder.h"
#include "files/NumberMerge.h"
#include "files/ResultsJournal.h"
#include "files/Settings.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WriteFaults.h"

#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::FileSizeLimit;
using test::G;
using test::KillChildWhileWriting;
using test::ReadFile;
using test::RunInChild;
using test::SmallFilesystem;
using test::TempDir;
using test::WriteFile;

struct Controls : SettingsControls {
    std::string KeywordFileText() const override { return "/home/u/" + std::string(200, 'k') + ".txt"; }
    void SetKeywordFileText(const std::string&) override {}
    bool Deduplicate() const override { return true; }
    void SetDeduplicate(bool) override {}
    bool AutoSave() const override { return true; }
    void SetAutoSave(bool) override {}
    std::string IntervalText() const override { return "9"; }
    void SetInterval(int) override {}
    std::string PageLimitText() const override { return "30"; }
    void SetPageLimit(int) override {}
};

// One way the program replaces a file, with the text it would write.
struct Writer {
    const char* name;
    std::string oldText;
    std::function<void(const std::string& path)> write;
    std::string message;  // what the failure says, %s being the path
    // Makes the other files the write needs, before the fault is set up.
    std::function<void(const std::string& path)> prepare = [](const std::string&) {};
};

// A file of new numbers beside path.
std::string NewNumbersFile(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1) + "source-new.txt";
}

std::vector<Writer> Writers() {
    const std::string settings =
        "[config]\r\nfilename=/home/u/k.txt\r\nprocess=41\r\nquchong=0\r\nautosave=0\r\nspeed=5\r\npage=76\r\n";
    std::string numbers;
    for (int i = 0; i < 200; ++i) {
        numbers.append("020-").append(std::to_string(87650000 + i)).append("\r\n");
    }
    return {
        {"settings", settings,
         [](const std::string& path) {
             IniFile file(path);
             int next = 1234;
             SaveSettings(file, Controls(), next);
         },
         "Unable to write to %s"},
        {"built keyword list", G("广州 服装 传真：\r\n深圳 服装 传真：\r\n"),
         [](const std::string& path) {
             std::vector<std::string> products;
             products.reserve(300);
             for (int i = 0; i < 300; ++i) {
                 products.push_back(G("城市").append(std::to_string(i)).append(G(" 产品")));
             }
             WriteFileAtomically(path, CombineKeywords(products, {G("传真："), "fax:"}));
         },
         "Cannot create file %s"},
        {"saved results (a number list)", numbers,
         [](const std::string& path) {
             StringList list;
             for (int i = 0; i < 500; ++i) {
                 list.Add(std::string("0755-").append(std::to_string(26000000 + i)));
             }
             list.SaveToFile(path);
         },
         "Cannot create file %s"},
        // The usual merge: new numbers into the master list, which is also a
        // source. The joined copy fails first, so the master must stay whole.
        {"merge into a source", numbers,
         [](const std::string& path) {
             MergeFiles({NewNumbersFile(path), path}, path, [](const std::string&) {});
         },
         "Stream write error",
         [](const std::string& path) {
             std::string fresh;
             for (int i = 0; i < 3000; ++i) {
                 fresh.append("0571-").append(std::to_string(86000000 + i)).append("\r\n");
             }
             WriteFile(NewNumbersFile(path), fresh);
         }},
    };
}

std::string Message(const std::string& format, const std::string& path) {
    const auto at = format.find("%s");
    return at == std::string::npos ? format : format.substr(0, at) + path + format.substr(at + 2);
}

// The folder holds the file and nothing else: no temporary file was left.
void ExpectOnlyFile(const std::string& folder, const std::string& name) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string found = entry.path().filename().string();
        EXPECT_TRUE(found == name || found == "filler" || found.starts_with("source-")) << "left behind: " << found;
    }
}

TEST(WriteFaults, AWriteBeyondTheFileSizeLimitKeepsTheOldFile) {
    for (const auto& w : Writers()) {
        TempDir dir;
        const std::string path = dir.File("target.txt");
        WriteFile(path, w.oldText);
        w.prepare(path);
        try {
            FileSizeLimit limit(w.oldText.size());  // the new text is longer than the old one
            w.write(path);
            ADD_FAILURE() << w.name << ": the write did not fail";
        } catch (const SystemError& e) {
            EXPECT_EQ(e.what(), Message(w.message, path)) << w.name;
        }
        EXPECT_EQ(ReadFile(path), w.oldText) << w.name;
        ExpectOnlyFile(dir.Path(), "target.txt");
    }
}

TEST(WriteFaults, AFullFileSystemKeepsTheOldFile) {
    for (const auto& w : Writers()) {
        SmallFilesystem fs(std::size_t{256} * 1024);
        if (!fs.Mounted()) {
            GTEST_SKIP() << "mounting a tmpfs is not allowed here (needs root)";
        }
        const std::string path = fs.File("target.txt");
        WriteFile(path, w.oldText);
        w.prepare(path);
        fs.Fill();
        try {
            w.write(path);
            ADD_FAILURE() << w.name << ": the write did not fail";
        } catch (const SystemError& e) {
            EXPECT_EQ(e.what(), Message(w.message, path)) << w.name;
        }
        EXPECT_EQ(ReadFile(path), w.oldText) << w.name;
        ExpectOnlyFile(fs.File(""), "target.txt");
        // With room again, the same write goes through.
        std::filesystem::remove(fs.File("filler"));
        w.write(path);
        EXPECT_NE(ReadFile(path), w.oldText) << w.name;
    }
}

TEST(WriteFaults, AKillJustBeforeTheFileIsReplacedKeepsTheOldFile) {
    for (const auto& w : Writers()) {
        TempDir dir;
        const std::string path = dir.File("target.txt");
        WriteFile(path, w.oldText);
        w.prepare(path);
        const int status = RunInChild([&] {
            AtomicWriteTestHook::BeforeRename() = [](const std::string&) { raise(SIGKILL); };
            w.write(path);
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << w.name;
        EXPECT_EQ(ReadFile(path), w.oldText) << w.name;
    }
}

TEST(WriteFaults, AKillWhileTheBytesAreWrittenKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("results.txt");
    const std::string oldText = "010-12345678\r\n021-87654321\r\n";
    WriteFile(path, oldText);
    // Big enough that the child is still writing when it is caught.
    const auto writeMany = [&] {
        StringList list;
        for (int i = 0; i < 1500000; ++i) {
            list.Add(std::to_string(100000000 + i).insert(0, 1, '0'));
        }
        list.SaveToFile(path);
    };
    int caught = 0;
    for (int attempt = 0; attempt < 3 && caught == 0; ++attempt) {
        caught += KillChildWhileWriting(writeMany, dir.Path(), "results.txt.tmp", 4096) ? 1 : 0;
        EXPECT_EQ(ReadFile(path), oldText);
    }
    EXPECT_EQ(caught, 1) << "the child was never caught in the middle of its write";
}

// The run's journal is appended to, not replaced: a full disk in the middle
// of a line must not leave half a number, nor glue the next one to it.
TEST(WriteFaults, AFullDiskWhileAppendingToTheJournalLeavesOnlyWholeNumbers) {
    TempDir dir;
    ResultsJournal journal;
    journal.Start(dir.Path(), 0);
    ASSERT_TRUE(journal.Append("0571-1234567"));  // 14 bytes with its line end
    {
        FileSizeLimit limit(20);  // the second line is cut after 6 bytes
        EXPECT_FALSE(journal.Append("021-87654321"));
        EXPECT_FALSE(journal.Error().empty());
    }
    EXPECT_EQ(ReadFile(journal.Path()), "0571-1234567\r\n");
    ASSERT_TRUE(journal.Append("010-66668888"));
    EXPECT_EQ(ReadFile(journal.Path()), "0571-1234567\r\n010-66668888\r\n");
}

}  // namespace
}  // namespace tavrisk
