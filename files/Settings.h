#pragma once

#include "platform/IniFile.h"

#include <string>
#include <string_view>

namespace tavrisk {

// The option controls of the main window that the settings file stores. Texts
// are GBK. The spin edits give the text their field shows, which may be a
// number still being typed, beyond the range or not a number at all.
class SettingsControls {
public:
    virtual ~SettingsControls() = default;

    [[nodiscard]] virtual std::string KeywordFileText() const = 0;  // the keyword list path field
    virtual void SetKeywordFileText(const std::string& text) = 0;
    [[nodiscard]] virtual bool Deduplicate() const = 0;  // the "remove repeats" box
    virtual void SetDeduplicate(bool checked) = 0;
    [[nodiscard]] virtual bool AutoSave() const = 0;  // the auto-save box
    virtual void SetAutoSave(bool checked) = 0;
    [[nodiscard]] virtual std::string IntervalText() const = 0;  // the interval spin edit, seconds
    virtual void SetInterval(int seconds) = 0;
    [[nodiscard]] virtual std::string PageLimitText() const = 0;  // the page-limit spin edit
    virtual void SetPageLimit(int pages) = 0;
};

// Ranges and start-up values of the options.
inline constexpr int kMinInterval = 1;
inline constexpr int kMaxInterval = 1000;
inline constexpr int kDefaultInterval = 5;
inline constexpr int kMinPageLimit = 1;
inline constexpr int kMaxPageLimit = 76;
inline constexpr int kDefaultPageLimit = 76;

// The search engine's host when the settings file names no other.
inline constexpr std::string_view kDefaultSearchHost = "www.baidu.com";

// The settings file's name for a program file (a path or a bare name): the
// file name, lower-cased byte by byte (only "A" to "Z"), with its last three
// bytes replaced by "ini". "TOOL.EXE" gives "tool.ini"; "tool" gives "tini".
std::string SettingsFileName(std::string_view programFile);

// The settings file's name for this system's executable, which carries no
// extension: the rule above applied to its name with ".exe" added, so the
// program "tavrisk" keeps "tavrisk.ini".
std::string SettingsFileNameOfExecutable(std::string_view executablePath);

// Reads the options and the keyword position into the controls and
// nextKeywordIndex. Missing or unreadable values take their defaults; the
// spin edits are brought into their ranges; a box is checked when the
// number's lowest 8 bits are not all zero. Never raises.
void LoadSettings(const IniFile& file, SettingsControls& controls, int& nextKeywordIndex);

// Writes the options and the progress, key by key: a nextKeywordIndex of 0
// first becomes 1 (and stays so), then "process" gets nextKeywordIndex - 1.
// Raises "Unable to write to %s" at the first key that cannot be written;
// the keys before it stay written.
void SaveSettings(IniFile& file, const SettingsControls& controls, int& nextKeywordIndex);

// The search engine's host: key "host" of section "engine", or
// kDefaultSearchHost when it is missing or empty. Read at start-up only;
// nothing ever writes it.
std::string ReadSearchHost(const IniFile& file);

}  // namespace tavrisk
