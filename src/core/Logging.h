#pragma once

#include <QLoggingCategory>

// The developer's trace of each part of the program, quiet by default. Switch
// one on with QT_LOGGING_RULES, e.g. QT_LOGGING_RULES="vmc.cat.debug=true".
Q_DECLARE_LOGGING_CATEGORY(catTrace)
Q_DECLARE_LOGGING_CATEGORY(midiTrace)
Q_DECLARE_LOGGING_CATEGORY(dispatchTrace)
Q_DECLARE_LOGGING_CATEGORY(rigctlTrace)
Q_DECLARE_LOGGING_CATEGORY(updateTrace)
Q_DECLARE_LOGGING_CATEGORY(desktopTrace)
