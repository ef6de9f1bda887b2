#include "files/ResultsJournal.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace tavrisk {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// 2026-12-11 17:25:30 UTC.
constexpr std::time_t kStart = 1797009930;

class ResultsJournalTest : public ::testing::Test {
protected:
    ResultsJournalTest() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    TempDir dir;
};

TEST_F(ResultsJournalTest, NamedByTheStartTimeInLocalTime) {
    EXPECT_EQ(ResultsJournal::FileNameFor(kStart), "20261211-172530.txt");
    setenv("TZ", "CST-8", 1);
    tzset();
    EXPECT_EQ(ResultsJournal::FileNameFor(kStart), "20261212-012530.txt");
}

TEST_F(ResultsJournalTest, EveryNumberIsInTheFileAsSoonAsItIsAppended) {
    ResultsJournal journal;
    const std::string folder = dir.File("results");
    journal.Start(folder, kStart);
    EXPECT_EQ(journal.Path(), folder + "/20261211-172530.txt");
    EXPECT_FALSE(FileExists(folder));  // nothing found yet, nothing made
    ASSERT_TRUE(journal.Append("0571-1234567"));
    EXPECT_EQ(ReadFile(journal.Path()), "0571-1234567\r\n");
    ASSERT_TRUE(journal.Append("020-87654321"));
    EXPECT_EQ(ReadFile(journal.Path()), "0571-1234567\r\n020-87654321\r\n");

    // The next run gets a file of its own; one started in the same second
    // adds to the same file.
    journal.Start(folder, kStart + 61);
    ASSERT_TRUE(journal.Append("010-11112222"));
    EXPECT_EQ(ReadFile(folder + "/20261211-172631.txt"), "010-11112222\r\n");
    journal.Start(folder, kStart);
    ASSERT_TRUE(journal.Append("010-33334444"));
    EXPECT_EQ(ReadFile(folder + "/20261211-172530.txt"), "0571-1234567\r\n020-87654321\r\n010-33334444\r\n");
}

TEST_F(ResultsJournalTest, AFailureIsReportedAndLaterNumbersAreTriedAgain) {
    WriteFile(dir.File("results"), "a file where the folder should be");
    ResultsJournal journal;
    journal.Start(dir.File("results"), kStart);
    EXPECT_FALSE(journal.Append("0571-1234567"));
    EXPECT_NE(journal.Error().find(dir.File("results")), std::string::npos) << journal.Error();
    EXPECT_FALSE(journal.Append("0571-7654321"));
    journal.Start(dir.File("other"), kStart);
    EXPECT_TRUE(journal.Append("0571-7654321"));
    EXPECT_EQ(ReadFile(dir.File("other/20261211-172530.txt")), "0571-7654321\r\n");
}

TEST_F(ResultsJournalTest, BeforeAnyRunNothingIsWritten) {
    ResultsJournal journal;
    EXPECT_TRUE(journal.Append("0571-1234567"));
    EXPECT_TRUE(journal.Path().empty());
}

}  // namespace
}  // namespace tavrisk
