// Checks that the collation is a total order consistent with itself on
// arbitrary triples of byte strings: reflexive, antisymmetric, transitive;
// equal only for strings that differ in the case of ASCII letters at most
// (and, for digits and hyphens, only when byte for byte equal); and that the
// prefix key never contradicts it.
#include "platform/Collation.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool DigitsAndHyphens(std::string_view s) {
    for (const char c : s) {
        if ((c < '0' || c > '9') && c != '-') {
            return false;
        }
    }
    return true;
}

void CheckPair(std::string_view a, std::string_view b) {
    const int ab = Sign(tavrisk::Collate(a, b));
    if (ab != -Sign(tavrisk::Collate(b, a))) {
        std::abort();  // not antisymmetric
    }
    if (ab == 0 && !SameIgnoringAsciiCase(a, b)) {
        std::abort();  // equal although they differ in more than case
    }
    if (ab == 0 && DigitsAndHyphens(a) && DigitsAndHyphens(b) && a != b) {
        std::abort();
    }
    const std::uint64_t ka = tavrisk::CollationKey(a);
    const std::uint64_t kb = tavrisk::CollationKey(b);
    if ((ab < 0 && ka > kb) || (ab > 0 && ka < kb) || (ab == 0 && ka != kb)) {
        std::abort();  // the key contradicts the order
    }
}

void CheckTriple(std::string_view a, std::string_view b, std::string_view c) {
    const int ab = Sign(tavrisk::Collate(a, b));
    const int bc = Sign(tavrisk::Collate(b, c));
    const int ac = Sign(tavrisk::Collate(a, c));
    if (ab <= 0 && bc <= 0 && ac > 0) {
        std::abort();  // a <= b <= c but a > c
    }
    if ((ab < 0 && bc <= 0 && ac >= 0) || (ab <= 0 && bc < 0 && ac >= 0)) {
        std::abort();  // a < b <= c but not a < c
    }
    if (ab == 0 && bc == 0 && ac != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string a = in.ConsumeRandomLengthString(40);
    const std::string b = in.ConsumeRandomLengthString(40);
    const std::string c = in.ConsumeRemainingBytesAsString();
    if (tavrisk::Collate(a, a) != 0 || tavrisk::Collate(c, c) != 0) {
        std::abort();
    }
    CheckPair(a, b);
    CheckPair(b, c);
    CheckPair(a, c);
    // Every order of the three.
    CheckTriple(a, b, c);
    CheckTriple(a, c, b);
    CheckTriple(b, a, c);
    CheckTriple(b, c, a);
    CheckTriple(c, a, b);
    CheckTriple(c, b, a);
    return 0;
}
