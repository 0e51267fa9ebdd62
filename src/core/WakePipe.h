#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Wakes the event loop of the thread that made it, from any other thread or
// from a signal handler: Wake() writes one byte to a pipe (no allocation, no
// lock, safe in a signal handler), and `woken` runs on the owner's thread
// once the loop has read the bytes; several wakes before that run it once.
// Where there are no pipes to watch (Windows), Wake() posts a queued call.
class WakePipe : public QObject {
    Q_OBJECT
public:
    explicit WakePipe(std::function<void()> woken, QObject* parent = nullptr);
    ~WakePipe() override;

    // Any thread.
    void Wake() noexcept;
    // The pipe's end that Wake() writes to, for a signal handler that cannot
    // reach this object; -1 without a pipe.
    int writeEnd() const { return writeEnd_; }

private:
    void Drain();

    std::function<void()> woken_;
    int readEnd_ = -1;
    int writeEnd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
