#pragma once

#include "RadioModel.h"

#include <QString>
#include <QStringList>

// How the simulated radio behaves on its line, from the command line.
struct SimOptions {
    RadioModel::Settings radio;
    QString linkPath;
    QString logPath;
    int baud = 38400;
    int latencyMs = 0;
    // Commands, too, arrive no faster than the line carries them.
    bool paced = false;
    // After this many commands a burst of line noise; 0 for none.
    int noiseBurstAfter = 0;
    // The TCP port to offer the line on instead of a terminal; -1 for a terminal.
    int tcpPort = -1;
    bool split = false;
    bool silent = false;
    bool garbage = false;
    bool flood = false;
    bool stdinExit = false;
    bool panel = false;
    quint32 seed = 0;

    // Fills `options` from the program's arguments; returns false with `error` set on bad input.
    static bool Parse(const QStringList& arguments, SimOptions& options, QString& error);
};
