#pragma once

#include "core/IAlerts.h"
#include "core/NumberedError.h"
#include "core/Routine.h"

#include <exception>
#include <utility>

// "VB6 runtime error (<routine's name>): <number> - <description>"
QString FailureText(Routine routine, qint64 number, const QString& description);

// Shows the report of a failure in `routine` as an information box with an OK button.
void ReportFailure(IAlerts& alerts, Routine routine, const NumberedError& error);

// Runs a handler; a failure ends it and is reported under `routine`.
// Returns false when the handler failed.
template <class Handler>
bool ReportFailures(IAlerts& alerts, Routine routine, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const NumberedError& e) {
        ReportFailure(alerts, routine, e);
    } catch (const std::exception& e) {
        ReportFailure(alerts, routine, NumberedError(NumberedError::kInternal, QString::fromLocal8Bit(e.what())));
    }
    return false;
}
