#pragma once

#include <QString>
#include <stdexcept>

// A run-time failure with the number and description a user sees in the
// "VB6 runtime error (...)" reports. Numbers follow the familiar run-time
// numbering where one exists (13 Type mismatch, 6 Overflow, 438 ...).
class NumberedError : public std::runtime_error {
public:
    NumberedError(qint64 number, const QString& description, const QString& source = QString());

    qint64 number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

    static NumberedError TypeMismatch(const QString& detail = QString());
    static NumberedError Overflow();
    static NumberedError ObjectNotFound(const QString& name);
    static NumberedError FileAccess(const QString& detail);

    static constexpr qint64 kOverflow = 6;
    static constexpr qint64 kTypeMismatch = 13;
    static constexpr qint64 kInternal = 51;
    static constexpr qint64 kFileNotFound = 53;
    static constexpr qint64 kDeviceUnavailable = 68;
    static constexpr qint64 kPathFileAccess = 75;
    static constexpr qint64 kObjectNotFound = 438;
    // A read or write on a closed port, as the serial control of the
    // original Windows program numbered it.
    static constexpr qint64 kPortNotOpen = 8018;

private:
    qint64 number_;
    QString description_;
    QString source_;
};
