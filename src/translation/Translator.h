#pragma once

#include "core/MidiEvent.h"

#include <QString>

class IAlerts;
class ICatSender;
class ILogSink;
class KeyMap;
struct Options;
struct RadioState;

// Turns one MIDI message into the command of its map key and carries it out:
// raw CAT text goes to the radio unchanged, "#" commands step a VFO copy, copy
// or swap the VFOs, step the mode or scale a slider value. The key is built
// from the rig type's letter and the message's two data bytes in hexadecimal
// ("f6441"), or a slider's own suffix. Each frequency step goes to the radio
// as a step of the CAT sender, which sends it at once while the line keeps up.
// UI thread only.
class Translator {
public:
    // The message box shown when a wheel or slider message has no map entry.
    static QString MissingKeyMessage();

    // A step that would take a VFO outside what the radio's frequency field
    // holds is refused with a line in `log`.
    Translator(const KeyMap& keyMap, RadioState& radio, const Options& options, ICatSender& cat,
               IAlerts& alerts, ILogSink& log);

    // Entry point for every MIDI short message; reports its own failures.
    void ProcessMIDI(const MidiEvent& message);
    // Carries out a wheel or slider entry; failures are thrown to ProcessMIDI.
    void ProcessWheel(const QString& entry, const MidiEvent& message);
    // Carries out a "#" command of a button or slider with the message's value;
    // failures are thrown to ProcessMIDI.
    void SendCatByCode(const QString& command, std::uint8_t value);

private:
    void Translate(const MidiEvent& message);
    void TranslateWheelOrSlider(const MidiEvent& message);
    void TranslateButton(const MidiEvent& message);
    QString RigPrefix() const;
    static bool IsButton(std::uint8_t control);
    // The frequency in hertz after the step; throws for texts that are no numbers.
    static double Stepped(const QString& frequency, const QString& direction, const QString& step);
    void StepVfo(QString& vfo, const QString& command, const QString& entry);
    // `command` with the eleven-digit frequency field of a stored reply.
    static QString FrequencyCommand(const char* command, const QString& reply);
    void StepMode();
    void SendScaled(const QString& command, std::uint8_t value, int minimum);

    const KeyMap& keyMap_;
    RadioState& radio_;
    const Options& options_;
    ICatSender& cat_;
    IAlerts& alerts_;
    ILogSink& log_;
};
