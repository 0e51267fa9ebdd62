#pragma once

#include <QString>

// A traffic or progress log: one line appended at the end, newest line in view.
class ILogSink {
public:
    virtual ~ILogSink() = default;
    virtual void AppendLine(const QString& line) = 0;
};
