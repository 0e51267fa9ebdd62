#include "desktop/SignalExit.h"

#include "core/Logging.h"

#include <array>
#include <cerrno>
#include <csignal>
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
} // namespace

SignalExit::SignalExit(QObject* parent)
    : QObject(parent), pipe_([this] {
          qCDebug(desktopTrace) << "ended by a signal";
          emit received();
      })
{
    writeEnd = pipe_.writeEnd();
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
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &previous[i], nullptr);
    writeEnd = -1;
}
