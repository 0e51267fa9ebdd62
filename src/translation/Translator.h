#pragma once

#include "app/IAlerts.h"
#include "app/KeyMap.h"
#include "app/Options.h"
#include "cat/ICatSender.h"
#include "cat/RadioState.h"
#include "translation/MidiMessage.h"

#include <QString>

// Turns one MIDI message into the command of its map key and carries it out:
// raw CAT text goes to the radio unchanged, "#" commands step a VFO copy, copy
// or swap the VFOs, step the mode or scale a slider value.
class Translator {
public:
    // The message box shown when a wheel or slider message has no map entry.
    static QString MissingKeyMessage();

    // `message` is the pump's current message; slider values are taken from it.
    Translator(const KeyMap& keyMap, RadioState& radio, const MidiMessage& message,
               const Options& options, ICatSender& cat, IAlerts& alerts);

    // Entry point for every MIDI short message; reports its own failures.
    void ProcessMIDI(const QString& midiid, const QString& midicmd);
    // Carries out a wheel or slider entry; failures are thrown to ProcessMIDI.
    void ProcessWheel(const QString& variable, const QString& midiid);
    // Carries out a "#" command of a button or slider; failures are thrown to ProcessMIDI.
    void SendCatByCode(const QString& midiid, const QString& midicmd, const QString& command);

private:
    void Translate(const QString& midiid, const QString& midicmd);
    void TranslateWheelOrSlider(const QString& midiid, const QString& midicmd);
    void TranslateButton(const QString& midiid, const QString& midicmd);
    QString RigPrefix() const;
    static bool IsButton(const QString& midiid);
    static QString Stepped(const QString& frequency, const QString& direction,
                           const QString& step);
    void StepVfo(QString& vfo, const QString& command, const QString& variable);
    // `command` with the eleven-digit frequency field of a stored reply.
    static QString FrequencyCommand(const char* command, const QString& reply);
    void StepMode();
    void SendScaled(const QString& command, const QString& midicmd, int minimum);

    const KeyMap& keyMap_;
    RadioState& radio_;
    const MidiMessage& message_;
    const Options& options_;
    ICatSender& cat_;
    IAlerts& alerts_;
};
