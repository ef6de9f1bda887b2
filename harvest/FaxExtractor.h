#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "harvest/SeenNumbers.h"

namespace tavrisk {

// Where the extraction delivers each new number: the result list of the
// window, standard output of the command-line tool, a test's vector.
class NumberSink {
public:
    virtual ~NumberSink() = default;
    virtual void AppendNumber(const std::string& number) = 0;
};

// Whether a new number is recorded in the memory before it is appended (the
// "去重" box). Asked once for every new number, so a change takes effect with
// the next number found.
using RecordSwitch = std::function<bool()>;

// The marker that every written form of a fax label is rewritten into.
inline constexpr std::string_view kFaxMarker = "FAX:";

// Turns page lines into fax numbers. Each line is handled on its own: the
// written forms of a fax label are rewritten into the marker "FAX:", the run
// of digits and telephone punctuation behind the first marker is read and
// cleaned into the domestic form (leading "0", country code 86 dropped, at
// most 13 bytes). The object only holds scratch buffers, reused from line to
// line so that the work on a line allocates nothing once they have grown.
class FaxExtractor {
public:
    // The number that line yields, or an empty view when it yields none.
    // The view stays valid until the next call.
    std::string_view NumberOfLine(std::string_view line);

    // The whole rule for one line: its number, unless the memory already
    // holds it, is recorded (when record says so) and appended to sink.
    // Returns true when a number was appended.
    bool ExtractLine(std::string_view line, SeenNumbers& seen, const RecordSwitch& record, NumberSink& sink);
    bool ExtractLine(std::string_view line, SeenNumbers& seen, bool record, NumberSink& sink);

private:
    // Records the number just read (when recordNow) and appends it to sink.
    void Deliver(SeenNumbers& seen, bool recordNow, NumberSink& sink);
    // Applies one substitution to current_, keeping the result in current_;
    // there is no match before from. Returns true when something was replaced.
    bool Substitute(std::string_view pattern, std::string_view replacement, std::size_t from = 0);

    std::string current_;
    std::string spare_;
    std::string number_;
};

// Runs the extraction over the lines of one page, first to last. Returns how
// many numbers were appended to sink (what the run adds to its found count).
std::size_t ExtractFaxNumbers(std::span<const std::string> pageLines, SeenNumbers& seen, const RecordSwitch& record,
                              NumberSink& sink);
std::size_t ExtractFaxNumbers(std::span<const std::string> pageLines, SeenNumbers& seen, bool record, NumberSink& sink);

// Whether line can yield a number at all. Every marker the rewriting can
// produce needs the label "传真" in the line, or an "X" or "x" whose nearest
// byte before it other than a space is an "A" or "a" (only spaces vanish
// between the two). A cheap test that lets a scanner pass over most lines of
// a page untouched.
bool MayHoldFaxLabel(std::string_view line);

}  // namespace tavrisk
