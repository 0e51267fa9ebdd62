#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

enum class Vfo { A, B };

// One of a radio's modes: Hamlib's name for it and its normal passband.
struct RadioMode {
    QByteArray name;
    int passbandHz;
};

// The radio as the surface and the network clients drive it: typed
// operations; the radio's own text appears only at its wire. Every call
// returns at once, and the state it changes (a VFO's frequency, the mode,
// transmit, split) is moved in the program's RadioState at once too. A
// failure is thrown as a NumberedError. UI thread only.
class IRadio {
public:
    virtual ~IRadio() = default;

    // The radio's line is open and it answers the poll.
    virtual bool LinkUp() const = 0;
    // The modes the radio has; none when the program knows none for it.
    virtual QList<RadioMode> Modes() const = 0;

    // A wheel's step to `hertz`: sent at once while the radio keeps up; while
    // it is busy the newest step of the VFO waits in place of older ones.
    virtual void StepFrequency(Vfo vfo, qint64 hertz) = 0;
    virtual void SetFrequency(Vfo vfo, qint64 hertz) = 0;
    // VFO A and B swap their frequencies, or B takes A's, as the poll last
    // read them; nothing happens where that needs VFO B's and it is unknown.
    virtual void SwapVfos() = 0;
    virtual void CopyVfoAToB() = 0;
    // The next of the radio's modes.
    virtual void StepMode() = 0;
    // Hamlib's mode `name`; a `passbandHz` above 0 also sets the filter where
    // the radio takes a width. False when the radio has no such mode.
    virtual bool SetMode(const QByteArray& name, long passbandHz) = 0;
    virtual void SetPower(int percent) = 0;
    virtual void SetCwSpeed(int wordsPerMinute) = 0;
    virtual void SetSplit(bool on) = 0;
    virtual void SetTransmit(bool on) = 0;
    // The radio's own text, sent as it stands.
    virtual void SendText(const QString& text) = 0;

    // What only some radios offer, by Hamlib's names: each returns false, and
    // sends nothing, where the radio does not have it.
    // The RIT or XIT offset in hertz; 0 clears it.
    virtual bool SetRit(int hertz) = 0;
    virtual bool SetXit(int hertz) = 0;
    // A function ("NB", "COMP") on or off.
    virtual bool SetFunction(const QByteArray& name, bool on) = 0;
    // A level ("RFPOWER" 0 to 1, "KEYSPD" in words per minute).
    virtual bool SetLevel(const QByteArray& name, double value) = 0;
    // A VFO operation ("XCHG", "CPY", "UP").
    virtual bool RunVfoOperation(const QByteArray& name) = 0;
};
