#pragma once

#include <QString>
#include <stdexcept>

// A run-time failure with the number and description a user sees in the
// "VB6 runtime error (...)" reports. Numbers follow the familiar run-time
// numbering where one exists (13 Type mismatch, 6 Overflow, 438 ...).
class VbError : public std::runtime_error {
public:
    VbError(qint64 number, const QString& description, const QString& source = QString());

    qint64 number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

    static VbError TypeMismatch(const QString& detail = QString());
    static VbError Overflow();
    static VbError ObjectNotFound(const QString& name);
    static VbError FileAccess(const QString& detail);

    static constexpr qint64 kOverflow = 6;
    static constexpr qint64 kTypeMismatch = 13;
    static constexpr qint64 kPathFileAccess = 75;
    static constexpr qint64 kObjectNotFound = 438;
    static constexpr qint64 kDeviceUnavailable = 68;
    static constexpr qint64 kInternal = 51;

private:
    qint64 number_;
    QString description_;
    QString source_;
};
