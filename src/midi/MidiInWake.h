#pragma once

#include "core/WakePipe.h"

#include <atomic>
#include <functional>

// Wakes the UI thread when the MIDI callback has put events into the ring:
// Wake() wakes the event loop through a pipe, unless a wake is already on its
// way; `onWake` then runs on the UI thread. A wake that finds one on its way
// is covered by it, since `onWake` runs after the flag is cleared and takes
// everything the ring holds then.
class MidiInWake {
public:
    // Made on the UI thread, where `onWake` runs.
    explicit MidiInWake(std::function<void()> onWake)
        : pipe_([this, onWake = std::move(onWake)] {
              pending_.store(false, std::memory_order_release);
              onWake();
          })
    {
    }

    // The MIDI callback thread: never waits, touches nothing but the flag
    // and the pipe.
    void Wake() noexcept
    {
        if (!pending_.exchange(true, std::memory_order_acq_rel))
            pipe_.Wake();
    }

private:
    std::atomic<bool> pending_{false};
    WakePipe pipe_;
};
