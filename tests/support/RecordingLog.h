#pragma once

#include "core/ILogSink.h"
#include "support/QtPrinters.h"

#include <QStringList>

class RecordingLog : public ILogSink {
public:
    void AppendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};
