#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

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
    [[nodiscard]] bool Contains(std::string_view number) const { return index_.find(number) != index_.end(); }
    // Appends number at the end of the list.
    void Add(std::string number);

    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    // The number recorded at index (0-based, in the order of recording).
    [[nodiscard]] const std::string& Item(std::size_t index) const { return items_.at(index); }

private:
    // A deque never moves its elements, so the views in the index stay valid.
    std::deque<std::string> items_;
    std::unordered_set<std::string_view> index_;
};

}  // namespace tavrisk
