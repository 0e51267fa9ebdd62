#include "rigcommand/RigResult.h"

#include <QtGlobal>

QString RigResult::Text(int code)
{
    switch (-qAbs(code)) {
    case kOk:
        return QStringLiteral("Command completed successfully");
    case kInvalid:
        return QStringLiteral("Invalid parameter");
    case kIoError:
        return QStringLiteral("IO error");
    case kProtocol:
        return QStringLiteral("Protocol error");
    default:
        return QStringLiteral("Function not available");
    }
}

QByteArray RigResult::Report(int code)
{
    return "RPRT " + QByteArray::number(-qAbs(code));
}
