#pragma once

#include "core/IRadio.h"

#include <QList>
#include <QString>

#include <optional>
#include <variant>

// What the worker tells of the radio (see HamlibWorker), each kind of report
// a type of its own. They reach the UI thread one by one, in the order told.

// The radio answered its first open: which it is (model and port), its modes
// in Hamlib's order and what it carries out.
struct HamlibOpened {
    QString radio;
    QList<RadioMode> modes;
    RadioAbilities abilities;
};

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
    // Empty for the VFO the radio uses now.
    std::optional<Vfo> txVfo;
    std::optional<bool> transmitting;
    std::optional<qint64> rit;
    std::optional<qint64> xit;
    std::optional<bool> ritOn;
    std::optional<bool> xitOn;
    std::optional<bool> noiseBlanker;
    // Where the model tells the VFO in use.
    std::optional<bool> vfoBInUse;
    // The number HamlibWorker gave the newest request (a wheel step among
    // them) carried out before these reads: what the program's own requests
    // set is older than the program's copy when a later request has been made.
    quint64 requestSerial = 0;
};

// A failure episode begins: which radio, what failed and Hamlib's words for why.
struct HamlibFailed {
    QString message;
};

// The radio answers again after HamlibFailed.
struct HamlibRecovered {};

// A request that was not carried out: the model or the radio refused it, or
// it was not sent because no radio is open or answering.
struct HamlibRefusal {
    // The request in rigctl notation, e.g. "G XCHG".
    QString command;
    // Why, in Hamlib's words where Hamlib gave them.
    QString message;
    // The model lacks the feature: the caller may reach the same by other means.
    bool unavailable = false;
};

// A line for the CAT log: a request and its answer in rigctl notation, an
// open or close, or the poll's readings when they changed.
struct HamlibTraced {
    QString line;
};

using HamlibReport = std::variant<HamlibOpened, HamlibReading, HamlibFailed, HamlibRecovered, HamlibRefusal, HamlibTraced>;
