#pragma once

#include <cstdint>
#include <functional>

namespace tavrisk {

// Source of repeating timers. The program uses one backed by the event loop;
// tests use a virtual clock, so timing is checked without waiting.
class Scheduler {
public:
    using TimerId = std::uint64_t;

    virtual ~Scheduler() = default;

    // Starts a repeating timer: fire runs every intervalMs milliseconds (> 0),
    // the first time intervalMs from now, until the timer is cancelled.
    virtual TimerId StartRepeating(int intervalMs, std::function<void()> fire) = 0;
    // Stops the timer; it never fires again. Cancelling from inside its own
    // fire is allowed; an unknown id is ignored.
    virtual void Cancel(TimerId id) = 0;
};

}  // namespace tavrisk
