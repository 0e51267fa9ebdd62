#pragma once

#include "core/IAlerts.h"
#include "core/VbError.h"

#include <exception>
#include <utility>

// "VB6 runtime error (routine): number - description"
QString FormatRuntimeError(const QString& routine, qint64 number, const QString& description);

// Shows the report of a failure in `routine` as an information box with an OK button.
void ReportRuntimeError(IAlerts& alerts, const QString& routine, const VbError& error);

// Runs a handler; a failure ends it and is reported under `routine`.
// Returns false when the handler failed.
template <class Handler>
bool RunGuarded(IAlerts& alerts, const QString& routine, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const VbError& e) {
        ReportRuntimeError(alerts, routine, e);
    } catch (const std::exception& e) {
        ReportRuntimeError(alerts, routine,
                           VbError(VbError::kInternal, QString::fromLocal8Bit(e.what())));
    }
    return false;
}
