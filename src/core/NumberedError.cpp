#include "core/NumberedError.h"

NumberedError::NumberedError(qint64 number, const QString& description, const QString& source)
    : std::runtime_error(description.toStdString()), number_(number), description_(description),
      source_(source)
{
}

NumberedError NumberedError::TypeMismatch(const QString& detail)
{
    return NumberedError(kTypeMismatch, detail.isEmpty() ? QStringLiteral("Type mismatch")
                                                   : QStringLiteral("Type mismatch: ") + detail);
}

NumberedError NumberedError::Overflow()
{
    return NumberedError(kOverflow, QStringLiteral("Overflow"));
}

NumberedError NumberedError::ObjectNotFound(const QString& name)
{
    return NumberedError(kObjectNotFound,
                   QStringLiteral("Object doesn't support this property or method: ") + name);
}

NumberedError NumberedError::FileAccess(const QString& detail)
{
    return NumberedError(kPathFileAccess, QStringLiteral("Path/File access error: ") + detail);
}
