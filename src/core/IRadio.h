#pragma once

#include "core/RadioState.h"
#include "core/Vfo.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QObject>
#include <QString>

// The highest frequency any radio is sent, in hertz: what the eleven digits
// of the Kenwood-style frequency field hold.
constexpr qint64 kHighestFrequencyHz = 99999999999;

// One of a radio's modes: Hamlib's name for it and its normal passband.
struct RadioMode {
    QByteArray name;
    int passbandHz;
};

// What a radio carries out beyond the operations every radio has, by
// Hamlib's names: functions it switches ("NB"), levels it sets ("RFPOWER"),
// VFO operations ("XCHG", "CPY").
struct RadioAbilities {
    QByteArrayList functions;
    QByteArrayList levels;
    QByteArrayList vfoOperations;
};

// The radio as the surface and the network clients drive it: typed
// operations, the radio's own text appearing only at its wire. Each radio
// owns its state: its reports and the program's own commands (a wheel step,
// a client's frequency, split) move it at once, and stateChanged() tells
// every change. Every call returns at once; a failure is thrown as a
// NumberedError. UI thread only.
class IRadio : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual const RadioState& State() const = 0;
    // The modes the radio has; none when the program knows none for it.
    virtual QList<RadioMode> Modes() const = 0;
    virtual RadioAbilities Abilities() const = 0;

    // A wheel's step to `hertz`: sent at once while the radio keeps up; while
    // it is busy the newest step of the VFO waits in place of older ones.
    virtual void StepFrequency(Vfo vfo, qint64 hertz) = 0;
    virtual void SetFrequency(Vfo vfo, qint64 hertz) = 0;
    // VFO A and B swap their frequencies, or B takes A's, as the radio last
    // reported them; nothing happens where that needs VFO B's and it is unknown.
    virtual void SwapVfos() = 0;
    virtual void CopyVfoAToB() = 0;
    // The next of the radio's modes.
    virtual void StepMode() = 0;
    // Hamlib's mode `name`; a `passbandHz` above 0 also sets the filter where
    // the radio takes a width. False when the radio has no such mode.
    virtual bool SetMode(const QByteArray& name, long passbandHz) = 0;
    virtual void SetSplit(bool on) = 0;
    virtual void SetTransmit(bool on) = 0;
    // The radio's own text, sent as it stands.
    virtual void SendText(const QString& text) = 0;

    // What only some radios offer: each returns false, and sends nothing,
    // where the radio does not have it (see Abilities()).
    // The RIT or XIT offset in hertz; 0 clears it.
    virtual bool SetRit(int hertz) = 0;
    virtual bool SetXit(int hertz) = 0;
    virtual bool SetFunction(const QByteArray& name, bool on) = 0;
    // A level: "RFPOWER" 0 to 1, "KEYSPD" in words per minute, ...
    virtual bool SetLevel(const QByteArray& name, double value) = 0;
    virtual bool RunVfoOperation(const QByteArray& name) = 0;

signals:
    // Once for each change of State(), never for a report that changed
    // nothing: the fields that changed, the state before and after.
    void stateChanged(RadioState::Fields fields, const RadioState& before, const RadioState& after);
};
