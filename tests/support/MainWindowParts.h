#pragma once

#include <QTimer>
#include <QWidget>

// A timer of the main window's parts by its object name ("catPollTimer", "midiPumpTimer").
inline QTimer* Timer(const QWidget& window, const char* name)
{
    return window.findChild<QTimer*>(QLatin1String(name));
}
