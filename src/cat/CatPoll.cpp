#include "cat/CatPoll.h"

#include "cat/CatDialect.h"
#include "cat/CatLink.h"
#include "core/FailureReport.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <utility>


CatPoll::CatPoll(CatLink& link, IAlerts& alerts, Pause pause, QObject* parent)
    : QObject(parent), link_(link), alerts_(alerts), pause_(std::move(pause)),
      timer_(new QTimer(this)), stepTimer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("catPollTimer"));
    connect(timer_, &QTimer::timeout, this, &CatPoll::Tick);
    stepTimer_->setSingleShot(true);
    // A pause is never shorter than asked: the radio needs the time to answer.
    stepTimer_->setTimerType(Qt::PreciseTimer);
    connect(stepTimer_, &QTimer::timeout, this, [this] {
        if (auto next = std::exchange(afterStep_, nullptr))
            next();
    });
    if (!pause_)
        pause_ = [this](int milliseconds, std::function<void()> next) {
            afterStep_ = std::move(next);
            stepTimer_->start(milliseconds);
        };
}

void CatPoll::SetInterval(int milliseconds)
{
    timer_->setInterval(milliseconds);
    Apply();
}

int CatPoll::Interval() const
{
    return timer_->interval();
}

void CatPoll::Start()
{
    enabled_ = true;
    Apply();
}

void CatPoll::Stop()
{
    enabled_ = false;
    Apply();
    stepTimer_->stop();
    afterStep_ = nullptr;
    running_ = false;
}

void CatPoll::Apply()
{
    if (!enabled_ || timer_->interval() < 1)
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}

void CatPoll::Tick()
{
    // One tick at a time, also when a report box inside a tick runs an event loop.
    if (running_)
        return;
    running_ = true;
    ++tick_;
    RunStep([this] { Begin(); });
}

void CatPoll::Begin()
{
    if (link_.ReadyToPoll())
        Ask(0);
    else
        Finish();
}

void CatPoll::Ask(int query)
{
    link_.Ask(CatDialect::PollQueries()[query]);
    // The status reply is read at once; a late one is picked up by the reads that follow.
    if (query == 0)
        Read(query);
    else
        pause_(kReplyPauseMs, Continue([this, query] { Read(query); }));
}

void CatPoll::Read(int query)
{
    if (query + 1 < CatDialect::PollQueries().size()) {
        link_.CollectReplies();
        Ask(query + 1);
        return;
    }
    // The flags the last read leaves stand until the next tick, and MIDI input
    // is ignored while they are down: a reply held up behind a burst of wheel
    // steps on a slow line must not make a working radio look gone for a
    // whole poll interval.
    link_.WhenReplyWaiting(LastReplyWaitMs(), Continue([this] {
                               link_.ReadReplies();
                               Finish();
                           }));
}

int CatPoll::LastReplyWaitMs() const
{
    if (!timer_->isActive())
        return kLastReplyGraceMs;
    return std::max(kLastReplyGraceMs, timer_->remainingTime() - kReplyPauseMs);
}

void CatPoll::Finish()
{
    link_.ForgetQueries();
    running_ = false;
    emit tickFinished();
}

std::function<void()> CatPoll::Continue(std::function<void()> step)
{
    return [this, guard = QPointer<CatPoll>(this), tick = tick_, step = std::move(step)] {
        if (guard && running_ && tick == tick_)
            RunStep(step);
    };
}

void CatPoll::RunStep(const std::function<void()>& step)
{
    if (!ReportFailures(alerts_, Routine::PollRadio, step))
        Finish();
}
