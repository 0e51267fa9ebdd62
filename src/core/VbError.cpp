#include "core/VbError.h"

VbError::VbError(qint64 number, const QString& description, const QString& source)
    : std::runtime_error(description.toStdString()), number_(number), description_(description),
      source_(source)
{
}

VbError VbError::TypeMismatch(const QString& detail)
{
    return VbError(kTypeMismatch, detail.isEmpty() ? QStringLiteral("Type mismatch")
                                                   : QStringLiteral("Type mismatch: ") + detail);
}

VbError VbError::Overflow()
{
    return VbError(kOverflow, QStringLiteral("Overflow"));
}

VbError VbError::ObjectNotFound(const QString& name)
{
    return VbError(kObjectNotFound,
                   QStringLiteral("Object doesn't support this property or method: ") + name);
}

VbError VbError::FileAccess(const QString& detail)
{
    return VbError(kPathFileAccess, QStringLiteral("Path/File access error: ") + detail);
}
