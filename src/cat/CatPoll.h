#pragma once

#include <QObject>

#include <functional>

class CatLink;
class IAlerts;
class QTimer;

// The status poll: each tick of its timer asks the radio for its state and
// reads the replies, which the parser takes into the radio state.
// The pauses of a tick are timer steps, so the window and the MIDI pump run
// on meanwhile; a tick never starts while the one before is still running.
// UI thread only.
class CatPoll : public QObject {
    Q_OBJECT
public:
    // Runs `next` once `milliseconds` have passed, without blocking.
    using Pause = std::function<void(int milliseconds, std::function<void()> next)>;

    static constexpr int kReplyPauseMs = 10;
    // How long at least the last read of a tick waits for a reply that is
    // late; while the timer runs, it waits until shortly before the next tick.
    static constexpr int kLastReplyGraceMs = 50;

    // `pause` defaults to a timer step of this poll's own.
    CatPoll(CatLink& link, IAlerts& alerts, Pause pause = nullptr, QObject* parent = nullptr);

    // An interval under 1 ms leaves the timer idle, as a timer of interval 0 is.
    void SetInterval(int milliseconds);
    int Interval() const;
    void Start();
    // Stops the timer and drops a tick on its way.
    void Stop();

    // Begins a tick, unless one is running; the timer calls it.
    void Tick();
    bool TickRunning() const { return running_; }

signals:
    void tickFinished();

private:
    void Apply();
    void Begin();
    void Ask(int query);
    void Read(int query);
    void Finish();
    int LastReplyWaitMs() const;
    // `step` as a continuation of the running tick: dropped when the tick
    // has ended meanwhile; a failure in it ends the tick with its report.
    std::function<void()> Continue(std::function<void()> step);
    void RunStep(const std::function<void()>& step);

    CatLink& link_;
    IAlerts& alerts_;
    Pause pause_;
    QTimer* timer_;
    QTimer* stepTimer_;
    std::function<void()> afterStep_;
    bool enabled_ = false;
    bool running_ = false;
    quint64 tick_ = 0;
};
