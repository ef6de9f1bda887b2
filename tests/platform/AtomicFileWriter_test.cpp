#include "platform/AtomicFile.h"

#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::size_t Entries(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

TEST(AtomicFileWriter, ReplacesTheFileOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    WriteFile(path, "old");
    std::string big(200000, 'x');  // more than the writer buffers at once
    {
        AtomicFileWriter writer(path);
        writer.Write("a");
        writer.Write(big);
        writer.Write("b");
        EXPECT_EQ(ReadFile(path), "old");
        writer.Commit();
    }
    EXPECT_EQ(ReadFile(path), "a" + big + "b");
    EXPECT_EQ(Entries(dir), 1U);
    {
        AtomicFileWriter abandoned(path);
        abandoned.Write("new");
    }
    EXPECT_EQ(ReadFile(path), "a" + big + "b");
    EXPECT_EQ(Entries(dir), 1U) << "the temporary file is removed";
}

TEST(AtomicFileWriter, ACrashBeforeTheRenameLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    WriteFile(path, "old");
    AtomicWriteTestHook::BeforeRename() = [](const std::string&) { throw SystemError("crash"); };
    AtomicFileWriter writer(path);
    writer.Write("new");
    EXPECT_THROW(writer.Commit(), SystemError);
    AtomicWriteTestHook::BeforeRename() = nullptr;
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(Entries(dir), 1U);
}

TEST(AtomicFileWriter, FollowsALinkAndReportsAMissingFolder) {
    TempDir dir;
    const std::string target = dir.File("target.txt");
    const std::string link = dir.File("link.txt");
    WriteFile(target, "old");
    std::filesystem::create_symlink(target, link);
    AtomicFileWriter writer(link);
    writer.Write("new");
    writer.Commit();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "new");

    const std::string missing = dir.File("none/out.txt");
    try {
        AtomicFileWriter refused(missing);
        FAIL() << "created in a missing folder";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + missing);
    }
}

}  // namespace
}  // namespace tavrisk
