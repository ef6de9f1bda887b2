#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// True when pos falls on the second byte of a two-byte GBK character: the
// bytes just before it in the range 0x81..0xFE form an unbroken row of odd
// length.
bool IsSecondByte(std::string_view text, std::size_t pos);

// The first position at or after from where pattern occurs in text, ASCII
// letters compared without regard to case, at any byte (a quick test before
// the rewriting proper); npos when there is none.
std::size_t FindIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from = 0);

// Replaces every match of pattern in text with replacement, the way every
// rewriting step of the extraction works:
// - ASCII letters match without regard to case; the replacement is inserted
//   exactly as written;
// - matches are found from left to right and the search resumes behind each
//   match, so matches never overlap and inserted text is never searched again;
// - a match never begins on the second byte of a two-byte character.
// Writes the result to out and returns true when there was at least one
// match; when there was none, returns false and leaves out untouched, so a
// caller can keep working on text without a copy.
// Matches are searched from position from on; a caller that knows there is
// none before it (see FindIgnoringCase) saves the search there.
bool ReplaceAllInto(std::string_view text, std::string_view pattern, std::string_view replacement, std::string& out,
                    std::size_t from = 0);

// The same, returning the result.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement);

}  // namespace tavrisk
