#pragma once

#include "app/ILogSink.h"

#include <QStringList>

class RecordingLog : public ILogSink {
public:
    void AppendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};
