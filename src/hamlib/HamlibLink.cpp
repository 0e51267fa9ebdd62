#include "hamlib/HamlibLink.h"

#include "hamlib/HamlibModels.h"

HamlibLink::HamlibLink(int pollMs, QObject* parent)
    : QObject(parent),
      outbox_([this] { emit reportsWaiting(QPrivateSignal()); })
{
    connect(this, &HamlibLink::reportsWaiting, this, &HamlibLink::TakeReports, Qt::QueuedConnection);
    HamlibModels::Instance();
    // A report is moved into the outbox on the worker's thread and emitted from there on the UI thread.
    worker_ = new HamlibWorker(pollMs, [this](HamlibReport report) { outbox_.Put(std::move(report)); });
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

void HamlibLink::TakeReports()
{
    for (const HamlibReport& report : outbox_.TakeAll())
        emit reported(report);
}
