#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// Of a longer line only this many bytes are read.
inline constexpr std::size_t kMaxPageLineBytes = 4096;

// Cuts page text into its lines. A line ends at CR LF only: a lone CR or LF
// stays inside its line. Empty text gives no line, text ending in CR LF adds
// no empty last line, empty lines elsewhere count, and of a line longer than
// kMaxPageLineBytes only its first kMaxPageLineBytes bytes are kept.
std::vector<std::string> CutPageLines(std::string_view text);

// Turns every LF that is not preceded by CR into CR LF, so text whose lines
// end in bare line feeds cuts into the same lines.
std::string LineFeedsToCrLf(std::string_view text);

// Receives the lines that a PageLineStream cuts.
class PageLineReceiver {
public:
    virtual ~PageLineReceiver() = default;
    // The view is valid only during the call.
    virtual void OnLine(std::string_view line) = 0;
};

// Cuts page text arriving block by block into the lines that
// CutPageLines(LineFeedsToCrLf(text)) gives, without holding the text: a
// line ends at every LF, and a CR just before it belongs to the break. Lines
// inside a block are handed over as views into it, without a copy.
//
// With Lines::MayHoldFaxLabel only the lines for which MayHoldFaxLabel is
// true are handed over; the stream then skips the other lines at close to
// memory speed, which is what makes a scan over a large file fast.
class PageLineStream {
public:
    enum class Lines { All, MayHoldFaxLabel };
    explicit PageLineStream(Lines which = Lines::All) : filter_(which == Lines::MayHoldFaxLabel) {}

    void Feed(std::string_view block, PageLineReceiver& receiver);
    // Hands over the last line if the text did not end with a line break.
    void Finish(PageLineReceiver& receiver);

private:
    void EndLine(const char* begin, const char* end, PageLineReceiver& receiver);
    void Deliver(std::string_view line, PageLineReceiver& receiver);

    bool filter_;
    // The current line when it began in an earlier block: its first bytes
    // (enough to keep kMaxPageLineBytes after dropping a CR), its length so
    // far and its last byte.
    std::string pending_;
    std::size_t pendingLength_ = 0;
    char pendingLast_ = 0;
    // A byte that may belong to a fax label was seen in the current line.
    bool candidate_ = false;
};

}  // namespace tavrisk
