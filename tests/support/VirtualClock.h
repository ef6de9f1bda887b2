#pragma once

#include "platform/Scheduler.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace tavrisk::test {

// A scheduler on virtual time. Nothing happens until the test advances the
// clock; then every timer that falls due fires at its due moment, in order of
// time (ties in the order the timers were started). A fire may start and cancel
// timers and may advance the clock itself, as a modal box's nested message loop
// lets ticks run while a handler waits for the user.
class VirtualClock : public Scheduler {
public:
    TimerId StartRepeating(int intervalMs, std::function<void()> fire) override;
    void Cancel(TimerId id) override;

    [[nodiscard]] std::int64_t Now() const { return now_; }
    // Moves time forward by ms, firing what falls due on the way.
    void Advance(std::int64_t ms);
    // Moves time to the absolute moment t (never backwards).
    void AdvanceTo(std::int64_t t);
    // The moment of the next fire, if any timer runs.
    [[nodiscard]] std::optional<std::int64_t> NextDue() const;
    [[nodiscard]] std::size_t RunningTimers() const { return timers_.size(); }

private:
    struct Entry {
        std::int64_t intervalMs;
        std::int64_t due;
        std::function<void()> fire;
    };
    std::map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
    std::int64_t now_ = 0;
};

}  // namespace tavrisk::test
