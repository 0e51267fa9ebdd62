#pragma once

#include "hamlib/HamlibVfo.h"

#include <QMetaType>
#include <QString>
#include <optional>

// What one poll tick read from the radio; a value the model cannot read, or
// that did not come, is empty.
struct HamlibReading {
    std::optional<qint64> vfoA;
    // Only where the model reads VFO B without switching to it.
    std::optional<qint64> vfoB;
    // Hamlib's name for the mode, e.g. "USB"; empty when unknown.
    QString mode;
    std::optional<qint64> passband;
    std::optional<bool> split;
    std::optional<HamlibVfo> txVfo;
    std::optional<bool> transmitting;
    std::optional<qint64> rit;
    std::optional<qint64> xit;
    std::optional<bool> ritOn;
    std::optional<bool> xitOn;
    // The number HamlibWorker::PostStep gave the newest wheel step sent before
    // these reads: the frequencies are older than the hand when a later step
    // has been posted.
    quint64 stepSerial = 0;
};
Q_DECLARE_METATYPE(HamlibReading)
