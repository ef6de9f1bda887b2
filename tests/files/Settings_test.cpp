#include "files/Settings.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::G;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The option strip as the window holds it; the spin edits keep their text.
struct FakeControls : SettingsControls {
    std::string keywordFile = "untouched";
    bool deduplicate = true;
    bool autoSave = true;
    std::string interval = "-7";
    std::string pageLimit = "-7";

    std::string KeywordFileText() const override { return keywordFile; }
    void SetKeywordFileText(const std::string& text) override { keywordFile = text; }
    bool Deduplicate() const override { return deduplicate; }
    void SetDeduplicate(bool checked) override { deduplicate = checked; }
    bool AutoSave() const override { return autoSave; }
    void SetAutoSave(bool checked) override { autoSave = checked; }
    std::string IntervalText() const override { return interval; }
    void SetInterval(int seconds) override { interval = std::to_string(seconds); }
    std::string PageLimitText() const override { return pageLimit; }
    void SetPageLimit(int pages) override { pageLimit = std::to_string(pages); }
};

TEST(Settings, FileNameFollowsTheByteRule) {
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/x/TOOL.EXE", "tool.ini"},   {"Tool.exe", "tool.ini"},         {"tool", "tini"}, {"ab", "ini"},
        {"/p/My.Prog.EXE", "my.prog.ini"}, {"\xB0\x41.EXE", "\xB0\x61.ini"},  // the second byte of a GBK character too
    };
    for (const auto& [program, name] : cases) {
        EXPECT_EQ(SettingsFileName(program), name) << program;
    }
    EXPECT_EQ(SettingsFileNameOfExecutable("/usr/local/bin/tavrisk"), "tavrisk.ini");
    EXPECT_EQ(SettingsFileNameOfExecutable("/x/Tavrisk"), "tavrisk.ini");
}

TEST(Settings, NoFileGivesTheDesignedOptions) {
    TempDir dir;
    FakeControls controls;
    int next = 9;
    LoadSettings(IniFile(dir.File("t.ini")), controls, next);
    EXPECT_EQ(controls.keywordFile, "");
    EXPECT_EQ(next, 0);
    EXPECT_FALSE(controls.deduplicate);
    EXPECT_FALSE(controls.autoSave);
    EXPECT_EQ(controls.interval, "5");
    EXPECT_EQ(controls.pageLimit, "76");
    EXPECT_EQ(ReadSearchHost(IniFile(dir.File("t.ini"))), "www.baidu.com");
}

TEST(Settings, LoadReadsNumbersChecksAndRanges) {
    struct Case {
        std::string lines;
        std::string interval;
        std::string pageLimit;
        bool deduplicate;
        bool autoSave;
        int next;
    };
    const Case cases[] = {
        {"speed=0\r\npage=0", "1", "1", false, false, 0},
        {"speed=5000\r\npage=100", "1000", "76", false, false, 0},
        {"speed=-2147483648\r\npage=2147483647", "1", "76", false, false, 0},
        {"speed=0x10\r\npage=$1F", "16", "31", false, false, 0},
        {"speed=ten\r\npage=", "5", "76", false, false, 0},
        {"speed=2147483648\r\npage=12x", "5", "76", false, false, 0},
        {"quchong=2\r\nautosave=1", "5", "76", true, true, 0},
        {"quchong=256\r\nautosave=512", "5", "76", false, false, 0},
        {"quchong=-1\r\nautosave=0x101", "5", "76", true, true, 0},
        {"quchong=yes\r\nautosave=", "5", "76", false, false, 0},
        {"process=7", "5", "76", false, false, 7},
        {"process=-3", "5", "76", false, false, -3},
        {"process=0x10", "5", "76", false, false, 16},
        {"process=seven", "5", "76", false, false, 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir.File("t.ini"), "[Config]\r\n" + c.lines + "\r\n");
        FakeControls controls;
        int next = 99;
        LoadSettings(IniFile(dir.File("t.ini")), controls, next);
        EXPECT_EQ(controls.interval, c.interval) << c.lines;
        EXPECT_EQ(controls.pageLimit, c.pageLimit) << c.lines;
        EXPECT_EQ(controls.deduplicate, c.deduplicate) << c.lines;
        EXPECT_EQ(controls.autoSave, c.autoSave) << c.lines;
        EXPECT_EQ(next, c.next) << c.lines;
    }
}

TEST(Settings, SaveWritesAllSixKeysInOrder) {
    TempDir dir;
    IniFile ini(dir.File("tavrisk.ini"));
    FakeControls controls;
    controls.keywordFile = G("/home/用户/关键词.txt");
    controls.deduplicate = true;
    controls.autoSave = false;
    controls.interval = "8";
    controls.pageLimit = "76";
    int next = 13;
    SaveSettings(ini, controls, next);
    EXPECT_EQ(ReadFile(ini.FileName()), G("[config]\r\nfilename=/home/用户/关键词.txt\r\nprocess=12\r\nquchong=1\r\n"
                                          "autosave=0\r\nspeed=8\r\npage=76\r\n"));
    EXPECT_EQ(next, 13);
}

TEST(Settings, SaveWritesASpinEditAsItsFieldShowsIt) {
    struct Case {
        std::string interval;
        std::string pageLimit;
        std::string speedLine;
        std::string pageLine;
    };
    const Case cases[] = {
        {"5000", "100", "speed=5000", "page=100"},  // still being typed: unchanged
        {"0", "-4", "speed=0", "page=-4"},
        {"", "abc", "speed=1", "page=1"},  // not a number: the minimum
        {"$10", "0x20", "speed=16", "page=32"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        IniFile ini(dir.File("t.ini"));
        FakeControls controls;
        controls.interval = c.interval;
        controls.pageLimit = c.pageLimit;
        int next = 1;
        SaveSettings(ini, controls, next);
        const std::string text = ReadFile(ini.FileName());
        EXPECT_NE(text.find("\r\n" + c.speedLine + "\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("\r\n" + c.pageLine + "\r\n"), std::string::npos) << text;
    }
}

TEST(Settings, ProgressSurvivesARestart) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    FakeControls controls;

    // First start without a file, saved at once: "process=0", and the
    // position offered next is 1.
    int next = 0;
    LoadSettings(IniFile(path), controls, next);
    IniFile ini(path);
    SaveSettings(ini, controls, next);
    EXPECT_EQ(IniFile(path).ReadString("config", "process", ""), "0");
    EXPECT_EQ(next, 1);

    // Start with process=7 and save twice without a search: both store 6, the
    // position in memory stays 7 until the restart gives 6.
    ini.WriteInteger("config", "process", 7);
    LoadSettings(IniFile(path), controls, next);
    EXPECT_EQ(next, 7);
    SaveSettings(ini, controls, next);
    SaveSettings(ini, controls, next);
    EXPECT_EQ(IniFile(path).ReadString("config", "process", ""), "6");
    EXPECT_EQ(next, 7);
    LoadSettings(IniFile(path), controls, next);
    EXPECT_EQ(next, 6);

    // A finished run over 20 keywords leaves the position at 20: the restart
    // offers 19, the last keyword.
    next = 20;
    SaveSettings(ini, controls, next);
    LoadSettings(IniFile(path), controls, next);
    EXPECT_EQ(next, 19);

    // Options changed after the last write are lost on a restart.
    controls.interval = "9";
    LoadSettings(IniFile(path), controls, next);
    EXPECT_EQ(controls.interval, "5");
}

TEST(Settings, TheSmallestLoadedPositionDoesNotWrapAround) {
    TempDir dir;
    IniFile ini(dir.File("t.ini"));
    FakeControls controls;
    int next = -2147483647 - 1;
    SaveSettings(ini, controls, next);
    EXPECT_EQ(ini.ReadString("config", "process", ""), "-2147483649");
    LoadSettings(ini, controls, next);
    EXPECT_EQ(next, 0);
}

TEST(Settings, SaveKeepsOtherSectionsKeysAndComments) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteFile(path,
              "; my notes\r\n[engine]\r\nhost=127.0.0.1:8080\r\n\r\n[CONFIG]\r\nPROCESS=3\r\nextra=keep\r\n"
              "\r\n[tail]\r\nx=1\r\n");
    IniFile ini(path);
    FakeControls controls;
    controls.keywordFile = "/k.txt";
    controls.interval = "5";
    controls.pageLimit = "76";
    int next = 4;
    SaveSettings(ini, controls, next);
    EXPECT_EQ(ReadFile(path),
              "; my notes\r\n[engine]\r\nhost=127.0.0.1:8080\r\n\r\n[CONFIG]\r\nprocess=3\r\nextra=keep\r\n"
              "filename=/k.txt\r\nquchong=1\r\nautosave=1\r\nspeed=5\r\npage=76\r\n\r\n[tail]\r\nx=1\r\n");
    EXPECT_EQ(ReadSearchHost(ini), "127.0.0.1:8080");
}

TEST(Settings, SearchHostComesFromTheEngineSection) {
    const std::pair<std::string, std::string> cases[] = {
        {"[engine]\r\nhost=127.0.0.1:39000\r\n", "127.0.0.1:39000"},
        {"[ENGINE]\r\nHost = mirror.example \r\n", "mirror.example"},
        {"[engine]\r\nhost=\r\n", "www.baidu.com"},
        {"[config]\r\nhost=other\r\n", "www.baidu.com"},
    };
    for (const auto& [text, host] : cases) {
        TempDir dir;
        WriteFile(dir.File("t.ini"), text);
        EXPECT_EQ(ReadSearchHost(IniFile(dir.File("t.ini"))), host) << text;
    }
}

TEST(Settings, APathWithLineBreaksChangesNoOtherKey) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteFile(path, "[engine]\r\nhost=h\r\n");
    IniFile ini(path);
    FakeControls controls;
    controls.keywordFile = "/tmp/a\nprocess=50\r\n[engine]\r\nhost=evil\n";
    controls.interval = "5";
    controls.pageLimit = "76";
    int next = 3;
    SaveSettings(ini, controls, next);
    LoadSettings(ini, controls, next);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(controls.keywordFile, "/tmp/a process=50  [engine]  host=evil");
    EXPECT_EQ(ReadSearchHost(ini), "h");
    EXPECT_EQ(ReadFile(path).find("\nhost=evil"), std::string::npos);
}

TEST(Settings, AFailedSaveStopsAtTheFailingKey) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    WriteFile(path, "[config]\r\nfilename=old\r\nprocess=5\r\nquchong=0\r\nautosave=0\r\nspeed=5\r\npage=76\r\n");
    IniFile ini(path);
    FakeControls controls;
    controls.keywordFile = "new";
    controls.interval = "9";
    controls.pageLimit = "9";
    int writes = 0;
    AtomicWriteTestHook::BeforeRename() = [&](const std::string&) {
        if (++writes == 3) {
            throw SystemError("disk full");
        }
    };
    int next = 0;
    try {
        SaveSettings(ini, controls, next);
        ADD_FAILURE();
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    AtomicWriteTestHook::BeforeRename() = nullptr;
    EXPECT_EQ(next, 1);  // the change before the writes stays
    EXPECT_EQ(ReadFile(path),
              "[config]\r\nfilename=new\r\nprocess=0\r\nquchong=0\r\nautosave=0\r\nspeed=5\r\npage=76\r\n");
}

TEST(Settings, AFolderThatCannotBeWrittenGivesTheMessageWithTheFullPath) {
    for (const std::string folder : {"/proc/", "/nonexistent-folder/"}) {
        IniFile ini(folder + "tavrisk.ini");
        FakeControls controls;
        int next = 2;
        try {
            SaveSettings(ini, controls, next);
            ADD_FAILURE() << folder;
        } catch (const SystemError& e) {
            EXPECT_EQ(ErrorBoxText(e.Message()), "Unable to write to " + folder + "tavrisk.ini.");
        }
    }
}

}  // namespace
}  // namespace tavrisk
