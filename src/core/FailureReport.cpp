#include "core/FailureReport.h"

QString FailureText(Routine routine, qint64 number, const QString& description)
{
    return QStringLiteral("VB6 runtime error (%1): %2 - %3").arg(RoutineName(routine)).arg(number).arg(description);
}

void ReportFailure(IAlerts& alerts, Routine routine, const NumberedError& error)
{
    alerts.Tell(FailureText(routine, error.number(), error.description()), IAlerts::Icon::Information);
}
