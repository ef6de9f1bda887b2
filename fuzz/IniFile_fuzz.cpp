// Sets one key in arbitrary INI text, then checks by reading back that the
// key holds what a reader should see, that every other key kept its value and
// that no key or section appeared that was not there before.
#include "platform/IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace {

using tavrisk::FindIniValue;
using tavrisk::SetIniValue;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// Every (section, key) name pair that the text's lines spell, whether or not
// a lookup finds it (a later duplicate section hides its keys).
std::set<std::pair<std::string, std::string>> NamePairs(std::string_view text) {
    std::set<std::pair<std::string, std::string>> pairs;
    std::string section;
    bool inSection = false;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(text.substr(begin, end - begin));
        if (!line.empty() && line.front() == '[') {
            section = std::string(Trim(line.substr(1, line.find(']', 1) - 1)));
            inSection = true;
        } else if (!line.empty() && line.front() != ';' && line.find('=') != std::string_view::npos && inSection) {
            pairs.emplace(section, std::string(Trim(line.substr(0, line.find('=')))));
        }
        begin = end + 1;
    }
    return pairs;
}

// What a reader sees of a written value: one line, blanks around it dropped,
// one pair of matching quotes removed.
std::string Expected(std::string_view value) {
    std::string line;
    for (const char c : value) {
        line += (c == '\r' || c == '\n') ? ' ' : c;
    }
    std::string_view v = Trim(line);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

std::string AsciiLower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

// Only used to skip the written pair; a GBK name whose trail byte is a
// letter is compared exactly by the library but folded here, which at worst
// skips a pair that would also have passed.
bool SameAscii(const std::string& a, const std::string& b) {
    return AsciiLower(a) == AsciiLower(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(24);
    const std::string key = in.ConsumeRandomLengthString(24);
    const std::string value = in.ConsumeRandomLengthString(64);
    const std::string text = in.ConsumeRemainingBytesAsString();

    std::string out;
    try {
        out = SetIniValue(text, section, key, value);
    } catch (const std::invalid_argument&) {
        return 0;  // a name no INI line could hold is refused
    }

    std::string got;
    if (!FindIniValue(out, section, key, got) || got != Expected(value)) {
        std::abort();  // the written key does not read back
    }
    if (SetIniValue(out, section, key, value) != out) {
        std::abort();  // writing the same value again changed the text
    }

    auto pairs = NamePairs(text);
    const auto after = NamePairs(out);
    pairs.insert(after.begin(), after.end());
    for (const auto& [s, k] : pairs) {
        std::string before;
        std::string now;
        const bool wasThere = FindIniValue(text, s, k, before);
        const bool isThere = FindIniValue(out, s, k, now);
        if (SameAscii(s, section) && SameAscii(k, key)) {
            continue;
        }
        if (wasThere != isThere || before != now) {
            std::abort();  // another key was lost, changed or injected
        }
    }
    return 0;
}
