#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::FileExists;
using test::G;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string ValueOf(std::string_view text, std::string_view section, std::string_view key) {
    std::string value;
    return FindIniValue(text, section, key, value) ? value : "<missing>";
}

TEST(IniFile, FindsValuesByTheFormatRules) {
    const std::string text =
        "; comment=1\r\n"
        "top=0\r\n"
        "[other]\r\n"
        "speed=111\r\n"
        "  [ Config ]  \r\n"
        "  Speed  =  8  \r\n"
        "speed=9\r\n"
        "quoted=\"a b\"\r\n"
        "single='x'\r\n"
        "half=\"x\r\n"
        ";page=3\r\n"
        "no equals sign\r\n"
        "empty=\r\n"
        "lf=1\n"
        "cr=2\r"
        "path=D:\\a=b\r\n"
        "[config]\r\n"
        "page=44\r\n"
        "[last]\r\n"
        "k=v";
    struct Case {
        std::string section;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"config", "speed", "8"},  // names ignore case and blanks; first key wins
        {"CONFIG", "SPEED", "8"},
        {"other", "speed", "111"},
        {"config", "quoted", "a b"},  // one pair of quotes removed
        {"config", "single", "x"},
        {"config", "half", "\"x"},
        {"config", "page", "<missing>"},  // commented out; the second [config] is not read
        {"config", "empty", ""},
        {"config", "lf", "1"},
        {"config", "cr", "2"},
        {"config", "path", "D:\\a=b"},  // the first "=" splits
        {"config", "no equals sign", "<missing>"},
        {"config", "top", "<missing>"},  // keys before any section belong to none
        {"last", "k", "v"},
        {"missing", "k", "<missing>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueOf(text, c.section, c.key), c.value) << c.section << "/" << c.key;
    }
}

TEST(IniFile, FoldsOnlyAsciiLettersInNames) {
    // 0xB0 0x41 and 0xB0 0x61 are two different Chinese characters.
    const std::string text = "[s]\r\n\xB0\x41=1\r\nAb=2\r\n";
    EXPECT_EQ(ValueOf(text, "S", "\xB0\x41"), "1");
    EXPECT_EQ(ValueOf(text, "s", "\xB0\x61"), "<missing>");
    EXPECT_EQ(ValueOf(text, "s", "aB"), "2");
}

TEST(IniFile, WritingANewFileKeepsTheOrderOfWrites) {
    TempDir dir;
    IniFile ini(dir.File("t.ini"));
    ini.WriteString("config", "filename", G("D:\\数据\\列表.txt"));
    ini.WriteInteger("config", "process", 12);
    ini.WriteInteger("config", "speed", -8);
    ini.WriteString("engine", "host", "127.0.0.1:8080");
    EXPECT_EQ(ReadFile(ini.FileName()), G("[config]\r\nfilename=D:\\数据\\列表.txt\r\nprocess=12\r\nspeed=-8\r\n"
                                          "[engine]\r\nhost=127.0.0.1:8080\r\n"));
    EXPECT_EQ(ini.ReadString("config", "filename", "x"), G("D:\\数据\\列表.txt"));
    EXPECT_EQ(ini.ReadInteger("config", "speed", 5), -8);
}

TEST(IniFile, AWriteChangesOnlyItsOwnLine) {
    const std::string before =
        "; settings of the tool\r\n"
        "[Other]\n"
        "speed=3\n"
        "\r\n"
        "[CONFIG]\r\n"
        "Speed = 8 \r\n"
        "quchong=1\r\n"
        "\r\n"
        "; the engine\r\n"
        "[engine]\r\n"
        "host=h";
    struct Case {
        std::string name;
        std::string section;
        std::string key;
        std::string after;
    };
    const Case cases[] = {
        {"existing key, other spelling", "config", "speed",
         "; settings of the tool\r\n[Other]\nspeed=3\n\r\n[CONFIG]\r\nspeed=20\r\nquchong=1\r\n\r\n"
         "; the engine\r\n[engine]\r\nhost=h"},
        {"new key after the section's last key", "config", "page",
         "; settings of the tool\r\n[Other]\nspeed=3\n\r\n[CONFIG]\r\nSpeed = 8 \r\nquchong=1\r\npage=20\r\n\r\n"
         "; the engine\r\n[engine]\r\nhost=h"},
        {"new key after a last line without line end", "engine", "port",
         "; settings of the tool\r\n[Other]\nspeed=3\n\r\n[CONFIG]\r\nSpeed = 8 \r\nquchong=1\r\n\r\n"
         "; the engine\r\n[engine]\r\nhost=h\r\nport=20\r\n"},
        {"new section at the end", "new", "k",
         "; settings of the tool\r\n[Other]\nspeed=3\n\r\n[CONFIG]\r\nSpeed = 8 \r\nquchong=1\r\n\r\n"
         "; the engine\r\n[engine]\r\nhost=h\r\n[new]\r\nk=20\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir.File("t.ini"), before);
        IniFile ini(dir.File("t.ini"));
        ini.WriteInteger(c.section, c.key, 20);
        EXPECT_EQ(ReadFile(ini.FileName()), c.after) << c.name;
    }
    // A section with no keys yet takes the key right after its header.
    EXPECT_EQ(SetIniValue("[a]\r\n\r\n[b]\r\n", "A", "k", "1"), "[a]\r\nk=1\r\n\r\n[b]\r\n");
}

TEST(IniFile, ALineBreakInAValueNeverMakesAnotherLine) {
    TempDir dir;
    WriteFile(dir.File("t.ini"), "[config]\r\nfilename=old\r\nprocess=6\r\n");
    IniFile ini(dir.File("t.ini"));
    ini.WriteString("config", "filename", "/home/u/a\r\n[config]\nprocess=99\r[engine]\r\nhost=evil");
    EXPECT_EQ(ReadFile(ini.FileName()),
              "[config]\r\nfilename=/home/u/a  [config] process=99 [engine]  host=evil\r\nprocess=6\r\n");
    EXPECT_EQ(ini.ReadInteger("config", "process", 0), 6);
    EXPECT_EQ(ini.ReadString("engine", "host", "none"), "none");
    EXPECT_EQ(ini.ReadString("config", "filename", ""), "/home/u/a  [config] process=99 [engine]  host=evil");
}

TEST(IniFile, ReadsIntegersByTheNumberRule) {
    struct Case {
        std::string value;
        int expected;
    };
    const Case cases[] = {
        {"0x10", 16},
        {"ten", 5},
        {"", 5},
        {"$1F", 31},
        {"-1", -1},
        {"2147483648", 5},
        {"-2147483648", -2147483647 - 1},
        {" 12 ", 12},
        {"12abc", 5},
        {"\"7\"", 7},
    };
    TempDir dir;
    IniFile ini(dir.File("t.ini"));
    for (const auto& c : cases) {
        WriteFile(ini.FileName(), "[config]\r\nspeed=" + c.value + "\r\n");
        EXPECT_EQ(ini.ReadInteger("config", "speed", 5), c.expected) << c.value;
    }
}

TEST(IniFile, CutsLongTextValues) {
    TempDir dir;
    IniFile ini(dir.File("t.ini"));
    ini.WriteString("config", "filename", std::string(3000, 'a'));
    EXPECT_EQ(ini.ReadString("config", "filename", ""), std::string(IniFile::kMaxValueLength, 'a'));
    ini.WriteString("config", "filename", std::string(IniFile::kMaxValueLength, 'b'));
    EXPECT_EQ(ini.ReadString("config", "filename", ""), std::string(IniFile::kMaxValueLength, 'b'));
}

TEST(IniFile, GivesTheDefaultWhenTheFileCannotBeRead) {
    TempDir dir;
    EXPECT_EQ(IniFile(dir.File("none.ini")).ReadString("config", "filename", "d"), "d");
    EXPECT_EQ(IniFile(dir.File("none.ini")).ReadInteger("config", "speed", 5), 5);
    EXPECT_EQ(IniFile(dir.Path()).ReadInteger("config", "speed", 5), 5);  // a folder
    EXPECT_FALSE(FileExists(dir.File("none.ini")));                       // reading creates nothing
}

void ExpectUnableToWrite(const std::string& path) {
    IniFile ini(path);
    try {
        ini.WriteInteger("config", "speed", 1);
        ADD_FAILURE() << path;
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
}

TEST(IniFile, AFailedWriteRaisesUnableToWriteWithThePath) {
    TempDir dir;
    ExpectUnableToWrite(dir.File("missing/t.ini"));
    WriteFile(dir.File("plain"), "x");
    ExpectUnableToWrite(dir.File("plain/t.ini"));
    ExpectUnableToWrite("/proc/t.ini");  // a folder not even root can write to
    if (geteuid() != 0) {                // root writes anywhere
        ASSERT_EQ(mkdir(dir.File("ro").c_str(), 0555), 0);
        ExpectUnableToWrite(dir.File("ro/t.ini"));
        // A read-only file in a writable folder stays as it is.
        WriteFile(dir.File("locked.ini"), "[config]\r\nspeed=8\r\n");
        ASSERT_EQ(chmod(dir.File("locked.ini").c_str(), 0444), 0);
        ExpectUnableToWrite(dir.File("locked.ini"));
        EXPECT_EQ(ReadFile(dir.File("locked.ini")), "[config]\r\nspeed=8\r\n");
    }
}

TEST(IniFile, PathsInTheMessageAreShownInGbk) {
    TempDir dir;
    const std::string path = dir.File("缺少/设置.ini");
    IniFile ini(path);
    try {
        ini.WriteString("config", "filename", "x");
        FAIL();
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + G(path));
    }
}

TEST(IniFile, AnInterruptedWriteLeavesTheOldFileWhole) {
    struct Crash {};
    TempDir dir;
    const std::string old = "; mine\r\n[config]\r\nprocess=6\r\nspeed=8\r\n";
    WriteFile(dir.File("t.ini"), old);
    IniFile ini(dir.File("t.ini"));
    std::string tempSeen;
    AtomicWriteTestHook::BeforeRename() = [&](const std::string& temp) {
        tempSeen = temp;
        EXPECT_EQ(ReadFile(temp), "; mine\r\n[config]\r\nprocess=7\r\nspeed=8\r\n");
        throw Crash{};
    };
    EXPECT_THROW(ini.WriteInteger("config", "process", 7), Crash);
    AtomicWriteTestHook::BeforeRename() = nullptr;
    EXPECT_EQ(ReadFile(dir.File("t.ini")), old);
    EXPECT_FALSE(tempSeen.empty());
    EXPECT_FALSE(FileExists(tempSeen));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace tavrisk
