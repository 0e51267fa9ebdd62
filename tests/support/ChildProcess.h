#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

// A helper program a test starts (radio simulator, HTTP server, X server, the
// program itself) ends with the test however the test ends, a crash included:
// left running it would hold CTest's output open and CTest would wait for it.
inline void EndWithTheTest(QProcess& process)
{
#ifdef Q_OS_LINUX
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
#else
    Q_UNUSED(process);
#endif
}

// The first line the started `process` prints, trimmed; empty when none came
// within `timeoutMs`. Helpers print what the test needs to reach them (a
// port, a terminal, a display) as their first line.
inline QString FirstLine(QProcess& process, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine())
        if (deadline.hasExpired() || !process.waitForReadyRead(int(deadline.remainingTime())))
            return QString();
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}
