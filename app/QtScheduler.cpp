#include "app/QtScheduler.h"

#include <QTimer>

#include <utility>

namespace tavrisk::app {

QtScheduler::QtScheduler() = default;

QtScheduler::~QtScheduler() = default;

Scheduler::TimerId QtScheduler::StartRepeating(int intervalMs, std::function<void()> fire) {
    auto* timer = new QTimer(&owner_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    QObject::connect(timer, &QTimer::timeout, timer, [fire = std::move(fire)] { fire(); });
    const TimerId id = nextId_++;
    timers_.emplace(id, timer);
    timer->start();
    return id;
}

void QtScheduler::Cancel(TimerId id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) {
        return;
    }
    QTimer* timer = it->second;
    timers_.erase(it);
    // The timer may be the one whose timeout is running right now.
    timer->stop();
    timer->deleteLater();
}

}  // namespace tavrisk::app
