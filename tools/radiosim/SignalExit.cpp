#include "SignalExit.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A signal handler may only write to a pipe; the event loop reads the other end.
int writeEnd = -1;

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(writeEnd, &byte, 1);
}
}

SignalExit::SignalExit(QObject* parent) : QObject(parent)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    readEnd_.Reset(fds[0]);
    writeEnd = fds[1];
    ::fcntl(writeEnd, F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(readEnd_.get(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalExit::received);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

SignalExit::~SignalExit()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    if (writeEnd >= 0)
        ::close(writeEnd);
    writeEnd = -1;
}
