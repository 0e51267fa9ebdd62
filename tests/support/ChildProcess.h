#pragma once

#include <QProcess>

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
