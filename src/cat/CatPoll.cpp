#include "cat/CatPoll.h"

#include "core/RuntimeError.h"
#include "cat/CatLink.h"

#include <QThread>
#include <QTimer>
#include <utility>

CatPoll::CatPoll(CatLink& link, IAlerts& alerts, Pause pause, QObject* parent)
    : QObject(parent), link_(link), alerts_(alerts), pause_(std::move(pause)),
      timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("PollTimer"));
    connect(timer_, &QTimer::timeout, this, &CatPoll::PollTimer_Timer);
}

void CatPoll::SetInterval(int milliseconds)
{
    timer_->setInterval(milliseconds);
}

void CatPoll::Start()
{
    timer_->start();
}

void CatPoll::Stop()
{
    timer_->stop();
}

CatPoll::Pause CatPoll::SleepPause()
{
    return [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); };
}

void CatPoll::PollTimer_Timer()
{
    // A report box inside the tick runs an event loop; the timer must not start a second tick there.
    ReentryGuard::Scope scope(guard_);
    if (!scope.entered())
        return;
    RunGuarded(alerts_, QStringLiteral("PollTimer_Timer"), [this] { Tick(); });
}

void CatPoll::Tick()
{
    // The status reply is read at once; a late one is picked up by the reads that follow.
    Query("IF;", 0);
    Query("FB;", kReplyPauseMs);
    Query("RT;", kReplyPauseMs);
    // The flags the last read leaves stand until the next tick, and MIDI input
    // is ignored while they are down: a reply a few milliseconds late must not
    // make a working radio look gone for a whole poll interval.
    Query("XT;", kReplyPauseMs, kLastReplyGraceMs);
}

void CatPoll::Query(const char* command, int pauseMs, int graceMs)
{
    link_.SendCAT(QString::fromLatin1(command));
    if (pauseMs > 0)
        pause_(pauseMs);
    if (graceMs > 0)
        link_.AwaitReply(graceMs);
    link_.GetCAT();
}
