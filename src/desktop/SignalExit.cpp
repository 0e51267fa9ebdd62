#include "desktop/SignalExit.h"

#include "core/Logging.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may only write to a pipe; the event loop reads the other end.
int writeEnd = -1;
std::array<struct sigaction, kSignals.size()> previous{};

void OnSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

void MakeNonBlockingAndPrivate(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}
} // namespace

SignalExit::SignalExit(QObject* parent) : QObject(parent)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    readEnd_ = fds[0];
    writeEnd = fds[1];
    MakeNonBlockingAndPrivate(readEnd_);
    MakeNonBlockingAndPrivate(writeEnd);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalExit::Drain);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Reads and writes that the signal interrupts go on instead of failing.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &previous[i]);
}

SignalExit::~SignalExit()
{
    if (readEnd_ < 0)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &previous[i], nullptr);
    ::close(writeEnd);
    writeEnd = -1;
    ::close(readEnd_);
}

void SignalExit::Drain()
{
    char buffer[64];
    while (::read(readEnd_, buffer, sizeof buffer) > 0) {
    }
    qCDebug(desktopTrace) << "ended by a signal";
    emit received();
}
#else
SignalExit::SignalExit(QObject* parent) : QObject(parent) {}
SignalExit::~SignalExit() = default;
void SignalExit::Drain() {}
#endif
