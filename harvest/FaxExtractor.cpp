#include "harvest/FaxExtractor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "harvest/Substitution.h"
#include "platform/TextCodec.h"

namespace tavrisk {

namespace {

struct Rewrite {
    std::string pattern;
    std::string replacement;
};

// Consecutive rewrites whose patterns all begin with lead: where the text
// holds no lead, none of them can match and the group is passed over.
struct RewriteGroup {
    std::string lead;
    std::vector<Rewrite> rows;
};

// The written forms of a fax label and the separators around it, rewritten in
// this order; each step works on the result of the one before.
const std::vector<RewriteGroup>& LineRewrites() {
    static const std::vector<RewriteGroup> groups = {
        {"(Fax)", {{"(Fax) ", "Fax"}, {"(Fax)", "Fax"}}},
        {ToGbk("（FAX）"), {{ToGbk("（FAX）"), "Fax"}}},
        {";", {{";", ":"}}},
        {"  ", {{"  ", " "}}},
        {ToGbk("传真"),
         {
             {ToGbk("传真： "), "FAX:"},
             {ToGbk("传真："), "FAX:"},
             {ToGbk("传真: "), "FAX:"},
             {ToGbk("传真:"), "FAX:"},
             {ToGbk("传真 "), "FAX:"},
             {ToGbk("传真号码："), "FAX:"},
             {ToGbk("传真至："), "FAX:"},
         }},
        {"FAX",
         {
             {ToGbk("FAX： "), "FAX:"},
             {ToGbk("FAX："), "FAX:"},
             {"FAX: ", "FAX:"},
             {"FAX:", "FAX:"},
             {"FAX ", "FAX:"},
             {ToGbk("FAX号码："), "FAX:"},
             {ToGbk("FAX至："), "FAX:"},
         }},
        {" ", {{" ", ""}}},
    };
    return groups;
}

// The country code in its written forms, tested in this order, each once.
constexpr std::array<std::string_view, 7> kPrefixes = {"-", "0086-", "0086", "086-", "086", "86-", "86"};

// At most this many bytes behind the marker are read.
constexpr std::size_t kMaxTail = 255;
// A cleaned value is kept when it is longer than 10 and shorter than 30 bytes...
constexpr std::size_t kMinLength = 11;
constexpr std::size_t kMaxLength = 29;
// ...and then cut to this many bytes.
constexpr std::size_t kNumberLength = 13;

constexpr bool IsRunByte(char c) {
    return (c >= '0' && c <= '9') || c == '(' || c == '-' || c == '+' || c == ')';
}

// "传真" in GBK.
constexpr char kChuanZhen[] = "\xB4\xAB\xD5\xE6";

}  // namespace

bool MayHoldFaxLabel(std::string_view line) {
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    for (const char* p = begin; p != end; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if ((b | 0x20U) == 'x') {
            // Only spaces can vanish between the "A" and the "X" of a marker.
            const char* q = p;
            while (q != begin && q[-1] == ' ') {
                --q;
            }
            if (q != begin && (static_cast<unsigned char>(q[-1]) | 0x20U) == 'a') {
                return true;
            }
        } else if (b == 0xB4 && end - p >= 4 && std::memcmp(p, kChuanZhen, 4) == 0) {
            return true;
        }
    }
    return false;
}

bool FaxExtractor::Substitute(std::string_view pattern, std::string_view replacement, std::size_t from) {
    if (!ReplaceAllInto(current_, pattern, replacement, spare_, from)) {
        return false;
    }
    current_.swap(spare_);
    return true;
}

std::string_view FaxExtractor::NumberOfLine(std::string_view line) {
    if (!MayHoldFaxLabel(line)) {
        return {};  // no rewriting could produce a marker
    }
    current_.assign(line);
    for (const RewriteGroup& group : LineRewrites()) {
        // Every row of the group begins with its lead, so none can match before
        // the first place the lead occurs...
        std::size_t from = FindIgnoringCase(current_, group.lead);
        if (from == std::string::npos) {
            continue;
        }
        for (const Rewrite& r : group.rows) {
            if (Substitute(r.pattern, r.replacement, from)) {
                // ...but a replacement may complete a lead that begins up to
                // lead.size() - 1 bytes in front of it.
                from -= std::min(from, group.lead.size() - 1);
            }
        }
    }

    // The first marker, by plain byte comparison; it may begin on any byte.
    const std::size_t marker = current_.find(kFaxMarker);
    if (marker == std::string::npos) {
        return {};
    }
    const std::string_view tail = std::string_view(current_).substr(marker + kFaxMarker.size(), kMaxTail);
    std::size_t runLength = 0;
    while (runLength < tail.size() && IsRunByte(tail[runLength])) {
        ++runLength;
    }
    spare_.assign(tail.data(), runLength);
    current_.swap(spare_);

    Substitute("(", "-");
    Substitute(")", "-");
    Substitute("+", "");
    Substitute("--", "-");
    Substitute("--", "-");

    std::string_view value = current_;
    for (std::string_view prefix : kPrefixes) {
        if (value.starts_with(prefix)) {
            value.remove_prefix(prefix.size());
        }
    }
    number_.clear();
    if (!value.starts_with('0')) {
        number_.push_back('0');
    }
    number_.append(value);
    if (!number_.empty() && number_.back() == '-') {
        number_.pop_back();
    }
    if (number_.size() < kMinLength || number_.size() > kMaxLength) {
        return {};
    }
    number_.resize(std::min(number_.size(), kNumberLength));
    if (number_.back() == '-') {
        number_.pop_back();
    }
    return number_;
}

void FaxExtractor::Deliver(SeenNumbers& seen, bool recordNow, NumberSink& sink) {
    if (recordNow) {
        seen.Add(number_);
    }
    sink.AppendNumber(number_);
}

bool FaxExtractor::ExtractLine(std::string_view line, SeenNumbers& seen, const RecordSwitch& record, NumberSink& sink) {
    const std::string_view number = NumberOfLine(line);
    if (number.empty() || seen.Contains(number)) {
        return false;
    }
    Deliver(seen, record && record(), sink);
    return true;
}

bool FaxExtractor::ExtractLine(std::string_view line, SeenNumbers& seen, bool record, NumberSink& sink) {
    const std::string_view number = NumberOfLine(line);
    if (number.empty() || seen.Contains(number)) {
        return false;
    }
    Deliver(seen, record, sink);
    return true;
}

std::size_t ExtractFaxNumbers(std::span<const std::string> pageLines, SeenNumbers& seen, const RecordSwitch& record,
                              NumberSink& sink) {
    FaxExtractor extractor;
    std::size_t appended = 0;
    for (const std::string& line : pageLines) {
        if (extractor.ExtractLine(line, seen, record, sink)) {
            ++appended;
        }
    }
    return appended;
}

std::size_t ExtractFaxNumbers(std::span<const std::string> pageLines, SeenNumbers& seen, bool record,
                              NumberSink& sink) {
    // The switch is asked once per new number only, so a fixed answer costs nothing per line.
    return ExtractFaxNumbers(pageLines, seen, RecordSwitch([record] { return record; }), sink);
}

}  // namespace tavrisk
