#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/NumberConversion.h"
#include "platform/TextCodec.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace tavrisk {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One line of the text: its content [begin, end) and the start of the next
// line (after the line end, if any).
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        std::size_t next = end;
        if (next < text.size()) {
            next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool IsGbkLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Names compare with ASCII letters folded; a double-byte character, whose
// second byte may look like a letter, compares byte for byte.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsGbkLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class Kind { kOther, kSection, kKey };

// What a line holds: a section header with its name, a key line with its
// name and value, or anything else (blank, comment, text without "=").
struct Parsed {
    Kind kind = Kind::kOther;
    std::string_view name;
    std::string_view value;
};

Parsed Parse(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') {
        return {};
    }
    if (line.front() == '[') {
        line.remove_prefix(1);
        const auto close = line.find(']');
        return {Kind::kSection, Trim(line.substr(0, close)), {}};
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return {Kind::kKey, Trim(line.substr(0, eq)), value};
}

// Where a key stands in the text: the index of the first header of the
// section, of the first line of the key in it, and of the section's last key.
struct Location {
    std::size_t section = SIZE_MAX;
    std::size_t key = SIZE_MAX;
    std::size_t lastKey = SIZE_MAX;
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location loc;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = Parse(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (p.kind == Kind::kSection) {
            if (loc.section != SIZE_MAX) {
                break;  // the end of the section looked for
            }
            if (SameName(p.name, section)) {
                loc.section = i;
            }
        } else if (p.kind == Kind::kKey && loc.section != SIZE_MAX) {
            loc.lastKey = i;
            if (loc.key == SIZE_MAX && SameName(p.name, key)) {
                loc.key = i;
            }
        }
    }
    return loc;
}

void CheckName(std::string_view name, std::string_view forbidden) {
    if (name.empty() || Trim(name).size() != name.size() || name.find_first_of(forbidden) != std::string_view::npos) {
        throw std::invalid_argument("unusable INI name");
    }
}

enum class ReadResult { kRead, kMissing, kFailed };

// The whole file; kMissing when it does not exist.
ReadResult ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            close(fd);
            return ReadResult::kFailed;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return ReadResult::kRead;
}

}  // namespace

bool FindIniValue(std::string_view text, std::string_view section, std::string_view key, std::string& value) {
    const auto lines = SplitLines(text);
    const Location loc = Locate(text, lines, section, key);
    if (loc.key == SIZE_MAX) {
        return false;
    }
    const Line& line = lines[loc.key];
    value = std::string(Parse(text.substr(line.begin, line.end - line.begin)).value);
    return true;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
    CheckName(section, "\r\n]");
    CheckName(key, "\r\n=;[");
    std::string entry(key);
    entry += '=';
    for (const char c : value) {
        entry += (c == '\r' || c == '\n') ? ' ' : c;
    }

    const auto lines = SplitLines(text);
    const Location loc = Locate(text, lines, section, key);
    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    if (loc.section == SIZE_MAX) {
        out.append(text);
        if (!lines.empty() && lines.back().next == lines.back().end) {
            out.append(kLineEnd);
        }
        out.append("[").append(section).append("]").append(kLineEnd);
        out.append(entry).append(kLineEnd);
    } else if (loc.key != SIZE_MAX) {
        const Line& line = lines[loc.key];
        out.append(text.substr(0, line.begin));
        out.append(entry);
        out.append(text.substr(line.end));
    } else {
        const Line& after = lines[loc.lastKey != SIZE_MAX ? loc.lastKey : loc.section];
        out.append(text.substr(0, after.next));
        if (after.next == after.end) {
            out.append(kLineEnd);  // the line had no line end: it was the last one
        }
        out.append(entry).append(kLineEnd);
        out.append(text.substr(after.next));
    }
    return out;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    std::string text;
    std::string value;
    if (ReadWholeFile(path_, text) != ReadResult::kRead || !FindIniValue(text, section, key, value)) {
        return std::string(defaultValue);
    }
    if (value.size() > kMaxValueLength) {
        value.resize(kMaxValueLength);
    }
    return value;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    std::string text;
    std::string value;
    if (ReadWholeFile(path_, text) != ReadResult::kRead || !FindIniValue(text, section, key, value)) {
        return defaultValue;
    }
    return StrToIntDef(value, defaultValue);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const auto fail = [this] { throw SystemError(FormatMessage("Unable to write to %s", ToGbk(path_))); };
    std::string text;
    // A file that exists but cannot be read is not overwritten: its other
    // sections would be lost.
    const ReadResult read = ReadWholeFile(path_, text);
    if (read == ReadResult::kFailed) {
        fail();
    }
    // A file its owner made read-only keeps its contents, although the
    // rename over it would succeed.
    if (read == ReadResult::kRead && access(path_.c_str(), W_OK) != 0) {
        fail();
    }
    const std::string updated = SetIniValue(text, section, key, value);
    try {
        WriteFileAtomically(path_, updated);
    } catch (const SystemError&) {
        fail();
    }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace tavrisk
