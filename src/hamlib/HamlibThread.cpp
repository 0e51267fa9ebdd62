#include "hamlib/HamlibThread.h"

#include "hamlib/HamlibModels.h"
#include "hamlib/HamlibWorker.h"

HamlibThread::HamlibThread(QObject* parent) : QObject(parent)
{
    HamlibModels::Instance();
    worker_ = new HamlibWorker;
    worker_->moveToThread(&thread_);
    // Deleted by the thread as it ends, so the rig is closed where it was used.
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("Hamlib"));
    thread_.start();
}

HamlibThread::~HamlibThread()
{
    thread_.quit();
    thread_.wait();
}
