#include "core/WakePipe.h"

// Windows has no pipe a signal handler must write to: a wake is a queued call.
WakePipe::WakePipe(std::function<void()> woken, QObject* parent) : QObject(parent), woken_(std::move(woken)) {}
WakePipe::~WakePipe() = default;
void WakePipe::Wake() noexcept
{
    QMetaObject::invokeMethod(this, &WakePipe::Drain, Qt::QueuedConnection);
}
void WakePipe::Drain()
{
    woken_();
}
