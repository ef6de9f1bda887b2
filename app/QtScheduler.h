#pragma once

#include "platform/Scheduler.h"

#include <QObject>

#include <map>

class QTimer;

namespace tavrisk::app {

// Repeating timers of the Qt event loop. Like a window timer, a tick is a
// message handled between others, so it also runs inside the nested loop of
// a modal box.
class QtScheduler : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId StartRepeating(int intervalMs, std::function<void()> fire) override;
    void Cancel(TimerId id) override;

private:
    QObject owner_;  // parent of the timers, so none outlives the scheduler
    std::map<TimerId, QTimer*> timers_;
    TimerId nextId_ = 1;
};

}  // namespace tavrisk::app
