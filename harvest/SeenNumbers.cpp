#include "harvest/SeenNumbers.h"

#include <functional>
#include <stdexcept>
#include <utility>

namespace tavrisk {

namespace {

std::uint64_t HashOf(std::string_view number) {
    return std::hash<std::string_view>{}(number);
}

constexpr std::uint32_t TagOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

bool SeenNumbers::Contains(std::string_view number) const {
    if (slots_.empty()) {
        return false;
    }
    const std::uint64_t hash = HashOf(number);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.item == 0) {
            return false;
        }
        if (slot.tag == TagOf(hash) && items_[slot.item - 1] == number) {
            return true;
        }
    }
}

void SeenNumbers::Add(std::string number) {
    if (items_.size() >= UINT32_MAX - 1) {
        throw std::length_error("SeenNumbers is full");
    }
    if ((items_.size() + 1) * 2 > slots_.size()) {
        Grow();
    }
    const std::uint64_t hash = HashOf(number);
    items_.push_back(std::move(number));
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].item != 0) {
        at = (at + 1) & mask;
    }
    slots_[at] = Slot{TagOf(hash), static_cast<std::uint32_t>(items_.size())};
}

void SeenNumbers::Grow() {
    std::vector<Slot> bigger(slots_.empty() ? 64 : slots_.size() * 2);
    const std::size_t mask = bigger.size() - 1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::uint64_t hash = HashOf(items_[i]);
        std::size_t at = hash & mask;
        while (bigger[at].item != 0) {
            at = (at + 1) & mask;
        }
        bigger[at] = Slot{TagOf(hash), static_cast<std::uint32_t>(i + 1)};
    }
    slots_.swap(bigger);
}

}  // namespace tavrisk
