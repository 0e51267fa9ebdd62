#pragma once

#include "core/ReentryGuard.h"

#include <QObject>

#include <functional>

class CatLink;
class IAlerts;
class QTimer;

// The status poll: each tick of its timer PollTimer asks the radio for its
// state and reads the replies, which ParseCAT takes into the radio state.
// UI thread only.
class CatPoll : public QObject {
    Q_OBJECT
public:
    // Blocks the calling thread for the given number of milliseconds.
    using Pause = std::function<void(int milliseconds)>;

    static constexpr int kReplyPauseMs = 10;
    // How long the last read of a tick waits for a reply that is late.
    static constexpr int kLastReplyGraceMs = 50;

    CatPoll(CatLink& link, IAlerts& alerts, Pause pause = SleepPause(), QObject* parent = nullptr);

    void SetInterval(int milliseconds);
    void Start();
    void Stop();

    // One tick; the timer calls it.
    void PollTimer_Timer();

    static Pause SleepPause();

private:
    void Tick();
    void Query(const char* command, int pauseMs, int graceMs = 0);

    CatLink& link_;
    IAlerts& alerts_;
    Pause pause_;
    QTimer* timer_;
    ReentryGuard guard_;
};
