// Runs the page extraction over arbitrary page text and checks: the block
// stream cuts the same lines as the whole-text cutter for any block split,
// and its filtered mode hands over exactly the lines that may hold a label;
// every number has the domestic form; with the memory on, no number is
// delivered twice; the rewriting's replace-all matches its rules written out
// plainly, whatever start position the caller passes before the first match.
#include "harvest/FaxExtractor.h"
#include "harvest/PageLines.h"
#include "harvest/SeenNumbers.h"
#include "harvest/Substitution.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Collect : tavrisk::PageLineReceiver {
    std::vector<std::string> lines;
    void OnLine(std::string_view line) override { lines.emplace_back(line); }
};

struct Sink : tavrisk::NumberSink {
    std::vector<std::string> numbers;
    void AppendNumber(const std::string& number) override { numbers.push_back(number); }
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SecondByte(std::string_view text, std::size_t pos) {
    std::size_t run = 0;
    while (run < pos && static_cast<unsigned char>(text[pos - run - 1]) >= 0x81 &&
           static_cast<unsigned char>(text[pos - run - 1]) <= 0xFE) {
        ++run;
    }
    return run % 2 == 1;
}

std::string ReferenceReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool match = i + pattern.size() <= text.size() && !SecondByte(text, i);
        for (std::size_t k = 0; match && k < pattern.size(); ++k) {
            match = Lower(text[i + k]) == Lower(pattern[k]);
        }
        if (match) {
            out.append(replacement);
            i += pattern.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool IsNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '(' || c == ')' || c == '+';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string pattern = in.ConsumeRandomLengthString(8);
    const std::string replacement = in.ConsumeRandomLengthString(8);
    const std::size_t seed = in.ConsumeIntegral<std::uint16_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    // Lines: the whole-text cutter against the stream in blocks.
    const auto lines = tavrisk::CutPageLines(tavrisk::LineFeedsToCrLf(text));
    Collect all;
    Collect filtered;
    tavrisk::PageLineStream allStream;
    tavrisk::PageLineStream filteredStream(tavrisk::PageLineStream::Lines::MayHoldFaxLabel);
    std::size_t step = seed;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t n = 1 + step % 13;
        step = step / 13 + (step % 13) * 5 + 3;
        const std::string_view block = std::string_view(text).substr(pos, n);
        allStream.Feed(block, all);
        filteredStream.Feed(block, filtered);
        pos += n;
    }
    allStream.Finish(all);
    filteredStream.Finish(filtered);
    if (all.lines != lines) {
        std::abort();
    }
    std::vector<std::string> mayHold;
    for (const auto& line : lines) {
        if (line.size() > tavrisk::kMaxPageLineBytes) {
            std::abort();
        }
        if (tavrisk::MayHoldFaxLabel(line)) {
            mayHold.push_back(line);
        }
    }
    if (filtered.lines != mayHold) {
        std::abort();
    }

    // Numbers: their form, and no repeats with the memory on.
    tavrisk::FaxExtractor extractor;
    for (const auto& line : lines) {
        const std::string_view number = extractor.NumberOfLine(line);
        if (number.empty()) {
            continue;
        }
        if (number.size() < 10 || number.size() > 13 || number.front() != '0') {
            std::abort();
        }
        for (const char c : number) {
            if (!IsNumberByte(c)) {
                std::abort();
            }
        }
    }
    tavrisk::SeenNumbers seen;
    Sink sink;
    const std::size_t found = tavrisk::ExtractFaxNumbers(lines, seen, true, sink);
    const std::set<std::string> distinct(sink.numbers.begin(), sink.numbers.end());
    if (found != sink.numbers.size() || distinct.size() != sink.numbers.size() || seen.Count() != found) {
        std::abort();
    }
    for (const auto& number : sink.numbers) {
        if (!seen.Contains(number)) {
            std::abort();
        }
    }

    // The rewriting step.
    if (!pattern.empty()) {
        const std::string expected = ReferenceReplaceAll(text, pattern, replacement);
        std::string out = "untouched";
        const bool replaced = tavrisk::ReplaceAllInto(text, pattern, replacement, out);
        if (replaced ? out != expected : (out != "untouched" || expected != text)) {
            std::abort();
        }
        const std::size_t first = tavrisk::FindIgnoringCase(text, pattern);
        std::string fromFirst;
        const bool replacedFrom = tavrisk::ReplaceAllInto(text, pattern, replacement, fromFirst,
                                                          first == std::string::npos ? text.size() : first);
        if (replacedFrom != replaced || (replaced && fromFirst != expected)) {
            std::abort();
        }
    }
    return 0;
}
