#include "platform/StepTimer.h"

#include <utility>

namespace tavrisk {

StepTimer::StepTimer(Scheduler& scheduler, int intervalMs) : scheduler_(scheduler), intervalMs_(intervalMs) {}

StepTimer::~StepTimer() {
    if (running_) {
        scheduler_.Cancel(*running_);
    }
}

void StepTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Restart();
}

void StepTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Restart();
}

void StepTimer::SetInterval(int intervalMs) {
    if (intervalMs == intervalMs_) {
        return;
    }
    intervalMs_ = intervalMs;
    Restart();
}

void StepTimer::Restart() {
    if (running_) {
        scheduler_.Cancel(*running_);
        running_.reset();
    }
    if (enabled_ && intervalMs_ > 0 && onTimer_) {
        running_ = scheduler_.StartRepeating(intervalMs_, [this] { Fire(); });
    }
}

void StepTimer::Fire() {
    // The handler may change the timer, even replace itself: call a copy.
    const std::function<void()> handler = onTimer_;
    if (handler) {
        handler();
    }
}

}  // namespace tavrisk
