#include "core/RuntimeError.h"

QString FormatRuntimeError(const QString& routine, qint64 number, const QString& description)
{
    return QStringLiteral("VB6 runtime error (%1): %2 - %3").arg(routine).arg(number).arg(description);
}

void ReportRuntimeError(IAlerts& alerts, const QString& routine, const VbError& error)
{
    alerts.MsgBox(FormatRuntimeError(routine, error.number(), error.description()),
                  IAlerts::Buttons::Ok, IAlerts::Icon::Information);
}
