#include "core/WakePipe.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
void MakeNonBlockingAndPrivate(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}
} // namespace

WakePipe::WakePipe(std::function<void()> woken, QObject* parent) : QObject(parent), woken_(std::move(woken))
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    readEnd_ = fds[0];
    writeEnd_ = fds[1];
    MakeNonBlockingAndPrivate(readEnd_);
    MakeNonBlockingAndPrivate(writeEnd_);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WakePipe::Drain);
}

WakePipe::~WakePipe()
{
    if (readEnd_ < 0)
        return;
    delete notifier_;
    ::close(writeEnd_);
    ::close(readEnd_);
}

void WakePipe::Wake() noexcept
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a wake.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd_, &byte, 1);
    errno = savedErrno;
}

void WakePipe::Drain()
{
    char buffer[64];
    while (::read(readEnd_, buffer, sizeof buffer) > 0) {
    }
    woken_();
}
