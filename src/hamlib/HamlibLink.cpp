#include "hamlib/HamlibLink.h"

#include "hamlib/HamlibModels.h"
#include "hamlib/HamlibWorker.h"

HamlibLink::HamlibLink(QObject* parent)
    : QObject(parent), outbox_([this] { QMetaObject::invokeMethod(this, "TakeReports", Qt::QueuedConnection); })
{
    HamlibModels::Instance();
    worker_ = new HamlibWorker;
    Relay(&HamlibWorker::opened, &HamlibLink::opened);
    Relay(&HamlibWorker::closed, &HamlibLink::closed);
    Relay(&HamlibWorker::polled, &HamlibLink::polled);
    Relay(&HamlibWorker::failed, &HamlibLink::failed);
    Relay(&HamlibWorker::recovered, &HamlibLink::recovered);
    Relay(&HamlibWorker::refused, &HamlibLink::refused);
    Relay(&HamlibWorker::rawReplied, &HamlibLink::rawReplied);
    Relay(&HamlibWorker::traced, &HamlibLink::traced);
    worker_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("Hamlib"));
    thread_.start();
}

HamlibLink::~HamlibLink()
{
    worker_->Stop();
    thread_.wait();
    delete worker_;
}

// A report is copied into the outbox on the worker's thread and emitted from
// there on the UI thread.
template <typename... Args>
void HamlibLink::Relay(void (HamlibWorker::*signal)(Args...), void (HamlibLink::*relayed)(Args...))
{
    connect(worker_, signal, this, [this, relayed](Args... args) {
        outbox_.Put([this, relayed, args...] { emit (this->*relayed)(args...); });
    }, Qt::DirectConnection);
}

void HamlibLink::TakeReports()
{
    for (const auto& report : outbox_.TakeAll())
        report();
}

void HamlibLink::Open(const HamlibConfig& config)
{
    worker_->Open(config);
}

void HamlibLink::Close()
{
    worker_->Close();
}

void HamlibLink::SetPollInterval(int milliseconds)
{
    worker_->SetPollInterval(milliseconds);
}

void HamlibLink::Send(std::function<HamlibCommand()> build)
{
    worker_->Send(std::move(build));
}

quint64 HamlibLink::PostStep(HamlibVfo vfo, qint64 hertz)
{
    return worker_->PostStep(vfo, hertz);
}

bool HamlibLink::StepsWaiting() const
{
    return worker_->StepsWaiting();
}
