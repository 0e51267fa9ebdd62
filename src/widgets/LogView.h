#pragma once

#include "core/ILogSink.h"

#include <QPlainTextEdit>

// A read-only traffic log. An append costs the same at any log size and the
// log keeps its newest kMaxLines lines, so a weekend of polling never slows
// the program down or fills its memory.
class LogView : public QPlainTextEdit, public ILogSink {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 10000;

    explicit LogView(QWidget* parent = nullptr);
    void AppendLine(const QString& line) override;

private:
    bool hasLines_ = false;
};
