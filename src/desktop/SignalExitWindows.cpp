#include "desktop/SignalExit.h"

#include "core/Logging.h"

#include <qt_windows.h>

#include <atomic>

namespace {
// The console's handler runs on a thread the system makes for it; it reaches
// the event loop only through the wake.
std::atomic<WakePipe*> wake{nullptr};
// Set once the program has ended, so that the handler of a closing console
// can let the system go on.
HANDLE ended = nullptr;
// Windows ends the process when the handler of a closing console, a logoff or
// a shutdown returns, and at the latest after 5 s: the program has that long.
constexpr DWORD kEndWaitMs = 4500;

BOOL WINAPI OnConsoleEvent(DWORD type)
{
    WakePipe* pipe = wake.load();
    if (!pipe)
        return FALSE;
    pipe->Wake();
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        WaitForSingleObject(ended, kEndWaitMs);
    return TRUE;
}
} // namespace

SignalExit::SignalExit(QObject* parent)
    : QObject(parent), pipe_([this] {
          qCDebug(desktopTrace) << "ended from the console";
          emit received();
      })
{
    ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    wake.store(&pipe_);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

SignalExit::~SignalExit()
{
    wake.store(nullptr);
    SetEvent(ended);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}
