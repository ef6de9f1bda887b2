#include "harvest/PageLines.h"

#include <algorithm>
#include <cstring>

#include "harvest/FaxExtractor.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrisk {

namespace {

// The first byte in [p, end) that ends a line or may begin a fax label: LF,
// "X" or "x", or 0xB4 (the first byte of "传"); end when there is none.
const char* NextEvent(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i lowerX = _mm_set1_epi8('x');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i chuanLead = _mm_set1_epi8(static_cast<char>(0xB4));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lineFeed), _mm_cmpeq_epi8(_mm_or_si128(v, caseBit), lowerX)),
                         _mm_cmpeq_epi8(v, chuanLead));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    for (; p != end; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b == '\n' || (b | 0x20U) == 'x' || b == 0xB4) {
            return p;
        }
    }
    return end;
}

}  // namespace

std::vector<std::string> CutPageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineEnd = text.find("\r\n", start);
        const std::size_t length = (lineEnd == std::string_view::npos ? text.size() : lineEnd) - start;
        lines.emplace_back(text.substr(start, std::min(length, kMaxPageLineBytes)));
        if (lineEnd == std::string_view::npos) {
            break;
        }
        start = lineEnd + 2;
    }
    return lines;
}

std::string LineFeedsToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    char previous = 0;
    for (const char c : text) {
        if (c == '\n' && previous != '\r') {
            out.push_back('\r');
        }
        out.push_back(c);
        previous = c;
    }
    return out;
}

void PageLineStream::Deliver(std::string_view line, PageLineReceiver& receiver) {
    if (!filter_ || (candidate_ && MayHoldFaxLabel(line))) {
        receiver.OnLine(line);
    }
}

void PageLineStream::EndLine(const char* begin, const char* end, PageLineReceiver& receiver) {
    std::string_view line;
    if (pendingLength_ == 0) {
        line = std::string_view(begin, static_cast<std::size_t>(end - begin));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    } else {
        const auto part = static_cast<std::size_t>(end - begin);
        const std::size_t room = kMaxPageLineBytes + 1 - pending_.size();
        pending_.append(begin, std::min(part, room));
        const std::size_t length = pendingLength_ + part;
        const char last = part > 0 ? end[-1] : pendingLast_;
        line = pending_;
        line = line.substr(0, length - (last == '\r' ? 1 : 0));
    }
    Deliver(line.substr(0, kMaxPageLineBytes), receiver);
    pending_.clear();
    pendingLength_ = 0;
    candidate_ = false;
}

void PageLineStream::Feed(std::string_view block, PageLineReceiver& receiver) {
    const char* p = block.data();
    const char* const end = p + block.size();
    const char* lineStart = p;
    while (p != end) {
        const char* lineFeed = nullptr;
        if (!filter_ || candidate_) {
            lineFeed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        } else {
            // Skip bytes that can neither end the line nor begin a label.
            p = NextEvent(p, end);
            if (p == end) {
                break;
            }
            if (*p != '\n') {
                // "X", "x" or a first byte of "传"; a "传" cut by the block's end counts.
                candidate_ = *p != static_cast<char>(0xB4) || end - p < 4 || std::memcmp(p, "\xB4\xAB\xD5\xE6", 4) == 0;
                ++p;
                continue;
            }
            lineFeed = p;
        }
        if (lineFeed == nullptr) {
            p = end;
            break;
        }
        EndLine(lineStart, lineFeed, receiver);
        p = lineStart = lineFeed + 1;
    }
    // Keep the start of a line that goes on in the next block.
    if (lineStart != end) {
        const auto part = static_cast<std::size_t>(end - lineStart);
        const std::size_t room = kMaxPageLineBytes + 1 - pending_.size();
        pending_.append(lineStart, std::min(part, room));
        pendingLength_ += part;
        pendingLast_ = end[-1];
    }
}

void PageLineStream::Finish(PageLineReceiver& receiver) {
    if (pendingLength_ > 0) {
        // Without a line break a final CR is part of the line.
        const std::string_view line(pending_);
        Deliver(line.substr(0, kMaxPageLineBytes), receiver);
    }
    pending_.clear();
    pendingLength_ = 0;
    candidate_ = false;
}

}  // namespace tavrisk
