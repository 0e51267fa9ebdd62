#pragma once

#include <QTimer>
#include <QWidget>

// A timer of the main window's parts by its object name ("PollTimer", "tmrMIDI").
inline QTimer* Timer(const QWidget& window, const char* name)
{
    return window.findChild<QTimer*>(QLatin1String(name));
}
