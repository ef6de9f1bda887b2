#include "tests/support/VirtualClock.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tavrisk::test {

Scheduler::TimerId VirtualClock::StartRepeating(int intervalMs, std::function<void()> fire) {
    if (intervalMs <= 0) {
        throw std::invalid_argument("VirtualClock: interval must be positive");
    }
    const TimerId id = nextId_++;
    timers_.emplace(id, Entry{intervalMs, now_ + intervalMs, std::move(fire)});
    return id;
}

void VirtualClock::Cancel(TimerId id) {
    timers_.erase(id);
}

std::optional<std::int64_t> VirtualClock::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& [id, entry] : timers_) {
        if (!next || entry.due < *next) {
            next = entry.due;
        }
    }
    return next;
}

void VirtualClock::Advance(std::int64_t ms) {
    AdvanceTo(now_ + ms);
}

void VirtualClock::AdvanceTo(std::int64_t target) {
    for (;;) {
        // The earliest due timer; the map's order breaks ties by start order.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= target && (next == timers_.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == timers_.end()) {
            break;
        }
        now_ = std::max(now_, next->second.due);
        next->second.due += next->second.intervalMs;
        // The fire may cancel its own timer: call a copy.
        const std::function<void()> fire = next->second.fire;
        fire();
    }
    now_ = std::max(now_, target);
}

}  // namespace tavrisk::test
