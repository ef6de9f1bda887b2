#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// The de-duplication memory of the harvest: an unsorted list that numbers are
// appended to and that is never emptied while the program runs. Numbers are
// strings of digits and hyphens, for which equal means byte for byte equal.
// An index beside the list keeps a look-up at constant time however many
// numbers a long run has recorded.
class SeenNumbers {
public:
    SeenNumbers() = default;
    SeenNumbers(const SeenNumbers&) = delete;
    SeenNumbers& operator=(const SeenNumbers&) = delete;

    // Whether an equal number has been recorded.
    [[nodiscard]] bool Contains(std::string_view number) const;
    // Appends number at the end of the list.
    void Add(std::string number);

    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    // The number recorded at index (0-based, in the order of recording).
    [[nodiscard]] const std::string& Item(std::size_t index) const { return items_.at(index); }

private:
    // One place of the open-addressing index: part of the number's hash, to
    // pass over most other numbers without comparing them, and the number's
    // position in items_ plus one (0 marks a free place).
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t item = 0;
    };

    void Grow();

    std::deque<std::string> items_;
    std::vector<Slot> slots_;  // a power of two in size, at most half full
};

}  // namespace tavrisk
