#include "core/Logging.h"

Q_LOGGING_CATEGORY(catTrace, "vmc.cat", QtWarningMsg)
Q_LOGGING_CATEGORY(midiTrace, "vmc.midi", QtWarningMsg)
Q_LOGGING_CATEGORY(dispatchTrace, "vmc.dispatch", QtWarningMsg)
Q_LOGGING_CATEGORY(rigctlTrace, "vmc.rigctl", QtWarningMsg)
Q_LOGGING_CATEGORY(updateTrace, "vmc.update", QtWarningMsg)
Q_LOGGING_CATEGORY(desktopTrace, "vmc.desktop", QtWarningMsg)
