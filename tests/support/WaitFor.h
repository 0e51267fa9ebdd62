#pragma once

#include <QDeadlineTimer>
#include <QTest>
#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` have passed; tests
// wait for conditions, never for fixed times.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 15000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}
