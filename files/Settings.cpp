#include "files/Settings.h"

#include "platform/NumberConversion.h"

#include <algorithm>
#include <cstdint>

namespace tavrisk {

namespace {

constexpr std::string_view kSection = "config";
constexpr std::string_view kFileName = "filename";
constexpr std::string_view kProcess = "process";
constexpr std::string_view kDeduplicate = "quchong";
constexpr std::string_view kAutoSave = "autosave";
constexpr std::string_view kSpeed = "speed";
constexpr std::string_view kPage = "page";

// A check box stores its state in one byte of the number.
bool LowByteSet(int value) {
    return (static_cast<unsigned>(value) & 0xFFU) != 0;
}

}  // namespace

std::string SettingsFileName(std::string_view programFile) {
    const auto slash = programFile.rfind('/');
    std::string name(slash == std::string_view::npos ? programFile : programFile.substr(slash + 1));
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 0x20);
        }
    }
    name.resize(name.size() >= 3 ? name.size() - 3 : 0);
    return name + "ini";
}

std::string SettingsFileNameOfExecutable(std::string_view executablePath) {
    return SettingsFileName(std::string(executablePath) + ".exe");
}

void LoadSettings(const IniFile& file, SettingsControls& controls, int& nextKeywordIndex) {
    controls.SetKeywordFileText(file.ReadString(kSection, kFileName, ""));
    nextKeywordIndex = file.ReadInteger(kSection, kProcess, 0);
    controls.SetDeduplicate(LowByteSet(file.ReadInteger(kSection, kDeduplicate, 0)));
    controls.SetAutoSave(LowByteSet(file.ReadInteger(kSection, kAutoSave, 0)));
    controls.SetInterval(std::clamp(file.ReadInteger(kSection, kSpeed, kDefaultInterval), kMinInterval, kMaxInterval));
    controls.SetPageLimit(
        std::clamp(file.ReadInteger(kSection, kPage, kDefaultPageLimit), kMinPageLimit, kMaxPageLimit));
}

void SaveSettings(IniFile& file, const SettingsControls& controls, int& nextKeywordIndex) {
    if (nextKeywordIndex == 0) {
        nextKeywordIndex = 1;
    }
    file.WriteString(kSection, kFileName, controls.KeywordFileText());
    // Computed in 64 bits: a loaded "process" of the smallest 32-bit number
    // is written one below it, which a later load reads as the default.
    file.WriteString(kSection, kProcess, std::to_string(std::int64_t{nextKeywordIndex} - 1));
    file.WriteInteger(kSection, kDeduplicate, controls.Deduplicate() ? 1 : 0);
    file.WriteInteger(kSection, kAutoSave, controls.AutoSave() ? 1 : 0);
    file.WriteInteger(kSection, kSpeed, SpinEditValue(controls.IntervalText(), kMinInterval));
    file.WriteInteger(kSection, kPage, SpinEditValue(controls.PageLimitText(), kMinPageLimit));
}

std::string ReadSearchHost(const IniFile& file) {
    std::string host = file.ReadString("engine", "host", "");
    return host.empty() ? std::string(kDefaultSearchHost) : host;
}

}  // namespace tavrisk
