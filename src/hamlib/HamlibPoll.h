#pragma once

#include "hamlib/HamlibReport.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class HamlibRig;

// The reads of a poll tick: VFO A's frequency first (the read that proves the
// radio answers), then VFO B's where the model reads it without switching,
// mode and passband, split, transmit, RIT, XIT, the noise blanker and the VFO
// in use where the model has them.
// A later read the model refuses, or that the radio leaves unanswered while
// it answers a frequency read, is dropped until the next open, with a note.
// Used by the thread that owns the rig.
class HamlibPoll {
public:
    struct Tick {
        HamlibReading reading;
        // RIG_OK, or the code of the read that found the radio gone.
        int failure = 0;
        QString failedRead;
        // Reads dropped in this tick, each with why, in rigctl notation.
        QStringList notes;
    };

    // After each open: the reads the model offers, all of them asked again.
    void Reset(HamlibRig& rig);
    Tick Read(HamlibRig& rig);
    // The tick's values in rigctl notation on one line, for the trace.
    static QString Summary(const HamlibReading& reading);

private:
    struct Query {
        QString text;
        std::function<int(HamlibRig&, HamlibReading&)> read;
    };

    std::vector<Query> queries_;
};
