#pragma once

#include <QObject>

#include <atomic>
#include <functional>

// Wakes the UI thread when the MIDI callback has put events into the ring:
// Wake() posts one call of `onWake` to the event loop of `target`, unless
// one is already waiting there. A wake that finds one waiting is covered by
// it, since `onWake` runs after the flag is cleared and takes everything the
// ring holds then.
class MidiInWake {
public:
    // `target` lives on the UI thread and outlives every posted call or goes
    // with them (a call whose target is gone is dropped).
    MidiInWake(QObject& target, std::function<void()> onWake)
        : target_(target), onWake_(std::move(onWake))
    {
    }

    // The MIDI callback thread: never waits, touches nothing but the flag
    // and the event queue.
    void Wake() noexcept
    {
        if (pending_.exchange(true, std::memory_order_acq_rel))
            return;
        QMetaObject::invokeMethod(&target_, [this] {
            pending_.store(false, std::memory_order_release);
            onWake_();
        }, Qt::QueuedConnection);
    }

private:
    QObject& target_;
    std::function<void()> onWake_;
    std::atomic<bool> pending_{false};
};
