#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// An INI file of GBK text, read and written one key at a time. Every call
// opens the file, does its work and lets it go, so no handle stays open and
// two programs sharing the file see each other's writes key by key.
//
// Format: "[section]" lines and "key=value" lines; section and key names match
// without regard to the case of ASCII letters (the bytes of a double-byte GBK
// character always compare exactly); blanks around names and values are
// ignored, and one pair of matching quotes around a value is removed. Lines
// starting with ";" are comments. Lines end at CR LF, LF or a lone CR. When a
// section or key appears twice, the first one counts.
class IniFile {
public:
    // The longest text value that ReadString gives; a longer one is cut there.
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // The file-system path of the file.
    [[nodiscard]] const std::string& FileName() const { return path_; }

    // The key's value, or defaultValue when the file cannot be read, or holds
    // no such section or key.
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;

    // The key's value as a whole number (see TryStrToInt: decimal with an
    // optional sign, or hexadecimal after "$" or "0x"), or defaultValue when
    // the key is missing or its value is not a whole number of 32 bits.
    [[nodiscard]] int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // Sets the key to value and replaces the file at once (a temporary file
    // beside it, then a rename), so an interrupted write leaves the old file
    // whole. Every other line stays as it is. A new key goes after the last
    // key of its section; a new section goes at the end of the file; a new
    // file is created. A value is one line: each CR or LF byte in it is
    // written as a blank, so no value can ever add a line, key or section.
    // Raises "Unable to write to %s" with the file's path when the file cannot
    // be read back or written, or is read-only.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);

private:
    std::string path_;
};

// The value of section/key in INI text, by the rules above (not cut to any
// length); false when the section or key is missing.
bool FindIniValue(std::string_view text, std::string_view section, std::string_view key, std::string& value);

// INI text with section/key set to value, by the rules of WriteString.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

}  // namespace tavrisk
