#pragma once

#include "hamlib/HamlibAnswer.h"
#include "core/Vfo.h"

#include <QByteArray>
#include <QString>
#include <functional>

class HamlibRig;

// One request to the radio: its text in rigctl notation (for the trace and
// for reports) and what carries it out. A name Hamlib does not know (a mode,
// level, function or VFO operation) makes a request that is refused without
// going to the radio; so is one the model lacks.
// Built and run on the thread that owns the rig: looking up a name, Hamlib
// writes its process-wide debug buffers.
class HamlibCommand {
public:
    static HamlibCommand SetFrequency(Vfo vfo, qint64 hertz);
    // A VFO operation by Hamlib's name: XCHG, CPY, TOGGLE, UP, ... One the
    // model lacks is refused as unavailable, so the caller can do without.
    static HamlibCommand VfoOperation(const QString& name);
    // `passband` in Hz: 0 for the mode's normal one, -1 to keep the radio's.
    static HamlibCommand SetMode(const QString& name, qint64 passband);
    // A level by Hamlib's name: RFPOWER 0..1, KEYSPD in WPM, AF, SQL, ...
    static HamlibCommand SetLevel(const QString& name, double value);
    // A function by Hamlib's name: NB, RIT, XIT, COMP, ...
    static HamlibCommand SetFunction(const QString& name, bool on);
    static HamlibCommand SetSplit(bool on, Vfo txVfo);
    static HamlibCommand SetTransmit(bool on);
    static HamlibCommand SetRit(qint64 hertz);
    static HamlibCommand SetXit(qint64 hertz);
    // The radio's own text, sent as it is; no reply is read. Refused on NET rigctl.
    static HamlibCommand SendRaw(const QByteArray& text);

    const QString& text() const { return text_; }
    HamlibAnswer Run(HamlibRig& rig) const;
    // The trace line: the request and its answer, e.g. "F VFOA 14060010 -> RPRT 0",
    // "open Kenwood TS-480 on /dev/ttyUSB0 -> RPRT -5 (Communication timed out)".
    QString TraceLine(const HamlibAnswer& answer) const;
    static QString TraceLine(const QString& request, const HamlibAnswer& answer);

private:
    using Action = std::function<HamlibAnswer(HamlibRig&)>;

    HamlibCommand(QString text, Action action);
    static HamlibCommand Refused(QString text, int code, const QString& why);

    QString text_;
    Action action_;
};
