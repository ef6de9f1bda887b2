#include "harvest/PageLines.h"

#include <algorithm>
#include <string.h>  // memrchr

#include <cstring>

#include "harvest/FaxExtractor.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrisk {

namespace {

constexpr char kChuanZhen[] = "\xB4\xAB\xD5\xE6";  // "传真"

constexpr bool IsX(char c) {
    return (static_cast<unsigned char>(c) | 0x20U) == 'x';
}

// Whether the "X" or "x" at x may end a label: its nearest byte before it
// other than a space is "A" or "a", or the bytes before it lie in an earlier
// block (then it counts, to be decided on the whole line).
bool MayEndLabel(const char* blockBegin, const char* x) {
    const char* q = x;
    while (q != blockBegin && q[-1] == ' ') {
        --q;
    }
    return q == blockBegin || (static_cast<unsigned char>(q[-1]) | 0x20U) == 'a';
}

// Bits of the 32 bytes at p that may end or begin a label: "X" or "x", or
// the first byte of "传真" (all four bytes present). Needs 35 readable bytes.
#if defined(__x86_64__)
__attribute__((target("avx2"))) unsigned CandidateMask32(const char* p) {
    const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i xs = _mm256_cmpeq_epi8(_mm256_or_si256(v0, _mm256_set1_epi8(0x20)), _mm256_set1_epi8('x'));
    const __m256i label =
        _mm256_and_si256(_mm256_and_si256(_mm256_cmpeq_epi8(v0, _mm256_set1_epi8(kChuanZhen[0])),
                                          _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1)),
                                                            _mm256_set1_epi8(kChuanZhen[1]))),
                         _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 2)),
                                                            _mm256_set1_epi8(kChuanZhen[2])),
                                          _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 3)),
                                                            _mm256_set1_epi8(kChuanZhen[3]))));
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(xs, label)));
}

// Scans whole 32-byte steps while at least 35 bytes remain; returns where it stopped.
__attribute__((target("avx2"))) const char* ScanAvx2(const char* blockBegin, const char* p, const char* end,
                                                     const char** found) {
    while (end - p >= 32 + 3) {
        unsigned mask = CandidateMask32(p);
        while (mask != 0) {
            const char* hit = p + __builtin_ctz(mask);
            if (!IsX(*hit) || MayEndLabel(blockBegin, hit)) {
                *found = hit;
                return p;
            }
            mask &= mask - 1;
        }
        p += 32;
    }
    return p;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}
#endif

// The first byte in [p, end) where a fax label may end or begin: an "X" or
// "x" that may end one, or "传真"; a first byte of "传" too close to the
// block's end to be checked counts. end when there is none.
const char* NextCandidate(const char* blockBegin, const char* p, const char* end) {
#if defined(__x86_64__)
    if (HasAvx2()) {
        const char* found = nullptr;
        p = ScanAvx2(blockBegin, p, end, &found);
        if (found != nullptr) {
            return found;
        }
    }
#endif
#if defined(__SSE2__)
    const __m128i lowerX = _mm_set1_epi8('x');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i c0 = _mm_set1_epi8(kChuanZhen[0]);
    const __m128i c1 = _mm_set1_epi8(kChuanZhen[1]);
    const __m128i c2 = _mm_set1_epi8(kChuanZhen[2]);
    const __m128i c3 = _mm_set1_epi8(kChuanZhen[3]);
    while (end - p >= 16 + 3) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i xs = _mm_cmpeq_epi8(_mm_or_si128(v0, caseBit), lowerX);
        const __m128i label =
            _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(v0, c0),
                                        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), c1)),
                          _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)), c2),
                                        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3)), c3)));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(xs, label)));
        while (mask != 0) {
            const char* hit = p + __builtin_ctz(mask);
            if (!IsX(*hit) || MayEndLabel(blockBegin, hit)) {
                return hit;
            }
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    for (; p != end; ++p) {
        if (IsX(*p)) {
            if (MayEndLabel(blockBegin, p)) {
                return p;
            }
        } else if (*p == kChuanZhen[0] && (end - p < 4 || std::memcmp(p, kChuanZhen, 4) == 0)) {
            return p;
        }
    }
    return end;
}

const char* FindLineFeed(const char* p, const char* end) {
    return static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
}

const char* FindLastLineFeed(const char* p, const char* end) {
    return static_cast<const char*>(memrchr(p, '\n', static_cast<std::size_t>(end - p)));
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
    const char* const begin = block.data();
    const char* const end = begin + block.size();
    const char* p = begin;
    const char* lineStart = begin;  // where the current line's bytes in this block begin
    while (p != end) {
        if (filter_ && !candidate_) {
            // Jump to the next byte that may belong to a label; the lines passed
            // over on the way cannot hold one and are dropped unseen.
            const char* hit = NextCandidate(begin, p, end);
            const char* lastBreak = FindLastLineFeed(lineStart, hit);
            if (lastBreak != nullptr) {
                pending_.clear();
                pendingLength_ = 0;
                lineStart = lastBreak + 1;
            }
            if (hit == end) {
                break;
            }
            candidate_ = true;
            p = hit;
        }
        const char* lineFeed = FindLineFeed(p, end);
        if (lineFeed == nullptr) {
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
