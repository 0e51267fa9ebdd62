#include "hamlib/HamlibWorker.h"

#include "hamlib/HamlibCommand.h"
#include "hamlib/HamlibRig.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {
bool LacksFeature(int code)
{
    return qAbs(code) == RIG_ENAVAIL || qAbs(code) == RIG_ENIMPL;
}
}

HamlibWorker::HamlibWorker(int pollMs, Reporter report)
    : report_(std::move(report)), pollTimer_(new QTimer(this)),
      requests_([this] { emit requestsWaiting(QPrivateSignal()); })
{
    // Queued connections made here, before the worker's thread starts: a
    // queued invokeMethod would allocate its call on the calling thread and
    // run it on the worker's, ordered only inside Qt.
    connect(this, &HamlibWorker::requestsWaiting, this, &HamlibWorker::TakeRequests, Qt::QueuedConnection);
    connect(this, &HamlibWorker::finishWanted, this, &HamlibWorker::Finish, Qt::QueuedConnection);
    pollTimer_->setInterval(qMax(0, pollMs));
    connect(pollTimer_, &QTimer::timeout, this, &HamlibWorker::Tick);
}

// Taking the queue's lock first orders what the worker's thread did last
// before what is undone here.
HamlibWorker::~HamlibWorker()
{
    requests_.Shut();
}

void HamlibWorker::Open(const HamlibConfig& config)
{
    requests_.Put([this, config] { OpenNow(config); });
}

void HamlibWorker::Close()
{
    requests_.Put([this] { CloseNow(); });
}

void HamlibWorker::SetPollInterval(int milliseconds)
{
    requests_.Put([this, milliseconds] {
        pollTimer_->setInterval(qMax(0, milliseconds));
        if (milliseconds < 1)
            pollTimer_->stop();
        else if (rig_)
            pollTimer_->start();
    });
}

quint64 HamlibWorker::PostStep(Vfo vfo, qint64 hertz)
{
    return requests_.PutStep(vfo, hertz);
}

void HamlibWorker::Stop()
{
    requests_.Shut();
    emit finishWanted(QPrivateSignal());
}

void HamlibWorker::Finish()
{
    CloseNow();
    thread()->quit();
    // The last thing done here, under the lock the destructor takes first.
    requests_.Shut();
}

// The command is built on the worker's thread too: Hamlib's name lookups
// write its shared debug buffers.
quint64 HamlibWorker::Send(std::function<HamlibCommand()> build)
{
    return requests_.Put([this, build] { Execute(build(), false); });
}

// One request per call, so that poll ticks get their turn between requests.
void HamlibWorker::TakeRequests()
{
    bool more = false;
    const std::optional<HamlibRequestQueue::Item> item = requests_.Take(more);
    if (item && item->request)
        item->request();
    else if (item)
        SendSteps(*item);
    if (item)
        requestSerial_ = std::max(requestSerial_, item->serial);
    if (more)
        emit requestsWaiting(QPrivateSignal());
}

void HamlibWorker::OpenNow(const HamlibConfig& config)
{
    CloseNow();
    QString error;
    rig_ = HamlibRig::Create(config, error);
    if (!rig_) {
        Trace(HamlibCommand::TraceLine(QStringLiteral("open model %1").arg(config.model), {-RIG_ECONF, error}));
        report_(HamlibFailed{error});
        return;
    }
    if (TryOpen())
        Poll();
    if (pollTimer_->interval() > 0)
        pollTimer_->start();
}

void HamlibWorker::CloseNow()
{
    pollTimer_->stop();
    everOpened_ = failing_ = dropReported_ = stepRefusalShown_ = false;
    if (!rig_)
        return;
    Trace(QStringLiteral("close ") + rig_->name());
    rig_.reset();
    TraceDropped();
}

// Opens the rig; the attempts of a failure episode after the first are left
// out of the trace but for the one that works.
bool HamlibWorker::TryOpen()
{
    QString why;
    const int code = rig_->Open(why);
    if (!failing_ || code == RIG_OK)
        Trace(HamlibCommand::TraceLine(QStringLiteral("open ") + rig_->name(), {code, why}));
    if (code != RIG_OK) {
        Fail(why);
        return false;
    }
    poll_.Reset(*rig_);
    lastSummary_.clear();
    TraceDropped();
    dropReported_ = false;
    if (!std::exchange(everOpened_, true))
        report_(HamlibOpened{rig_->name(), rig_->Modes(), rig_->Abilities()});
    if (std::exchange(failing_, false))
        report_(HamlibRecovered{});
    return true;
}

void HamlibWorker::Tick()
{
    if (rig_ && (rig_->isOpen() || TryOpen()))
        Poll();
}

void HamlibWorker::Poll()
{
    HamlibPoll::Tick tick = poll_.Read(*rig_);
    for (const QString& note : std::as_const(tick.notes))
        Trace(QStringLiteral("poll: ") + note);
    if (tick.failure != RIG_OK) {
        const QString why = HamlibRig::ErrorText(tick.failure);
        Trace(HamlibCommand::TraceLine(QStringLiteral("poll: ") + tick.failedRead, {tick.failure, why}));
        return Fail(QStringLiteral("%1 (%2)").arg(why, tick.failedRead));
    }
    tick.reading.requestSerial = requestSerial_;
    const QString summary = HamlibPoll::Summary(tick.reading);
    if (summary != lastSummary_)
        Trace(lastSummary_ = summary);
    report_(tick.reading);
}

void HamlibWorker::SendSteps(const HamlibRequestQueue::Item& batch)
{
    for (const HamlibRequestQueue::Step& step : batch.steps)
        Execute(HamlibCommand::SetFrequency(step.vfo, step.hertz), true);
}

void HamlibWorker::Execute(const HamlibCommand& command, bool step)
{
    if (!Ready(command.text()))
        return;
    const HamlibAnswer answer = command.Run(*rig_);
    Trace(command.TraceLine(answer));
    if (answer.code == RIG_OK) {
        if (step)
            stepRefusalShown_ = false;
        return;
    }
    const QString why = answer.text.isEmpty() ? HamlibRig::ErrorText(answer.code) : answer.text;
    if (rig_->GoneAfter(answer.code))
        return Fail(QStringLiteral("%1 (%2)").arg(why, command.text()));
    if (step && std::exchange(stepRefusalShown_, true))
        return;
    report_(HamlibRefusal{command.text(), why, LacksFeature(answer.code)});
}

// A request while the radio is not open is not sent: it would only wait for
// the radio's timeout, or pile up behind others that do.
bool HamlibWorker::Ready(const QString& request)
{
    if (rig_ && rig_->isOpen())
        return true;
    ++dropped_;
    if (!std::exchange(dropReported_, true)) {
        const QString why = rig_ ? QStringLiteral("not sent: %1 is not answering").arg(rig_->name())
                                 : QStringLiteral("not sent: no radio is open");
        report_(HamlibRefusal{request, why, false});
    }
    return false;
}

// Told before the rig is closed: closing may wait for the radio once more.
void HamlibWorker::Fail(const QString& what)
{
    if (!std::exchange(failing_, true))
        report_(HamlibFailed{QStringLiteral("%1: %2").arg(rig_->name(), what)});
    rig_->Close();
}

void HamlibWorker::TraceDropped()
{
    const int dropped = std::exchange(dropped_, 0);
    if (dropped > 0)
        Trace(QStringLiteral("(requests not sent while no radio answered: %1)").arg(dropped));
}
