#pragma once

#include "platform/Scheduler.h"

#include <functional>
#include <optional>

namespace tavrisk {

// The window's step timer. While enabled it calls its handler every interval.
// Its rules are those the search run relies on:
// - enabling a timer that is already enabled changes nothing;
// - setting the interval it already has changes nothing;
// - setting a different interval on an enabled timer starts its count afresh;
// - an interval of 0 or no handler means no ticks, even while enabled.
class StepTimer {
public:
    explicit StepTimer(Scheduler& scheduler, int intervalMs = 1000);
    ~StepTimer();
    StepTimer(const StepTimer&) = delete;
    StepTimer& operator=(const StepTimer&) = delete;

    void SetOnTimer(std::function<void()> handler);
    void SetEnabled(bool enabled);
    void SetInterval(int intervalMs);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    [[nodiscard]] int Interval() const { return intervalMs_; }

private:
    // Drops the running count and starts a new one when the timer can tick.
    void Restart();
    void Fire();

    Scheduler& scheduler_;
    int intervalMs_;
    bool enabled_ = false;
    std::function<void()> onTimer_;
    std::optional<Scheduler::TimerId> running_;
};

}  // namespace tavrisk
