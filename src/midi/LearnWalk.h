#pragma once

#include "core/MidiEvent.h"
#include "midi/LearnedControls.h"

#include <QList>
#include <QString>

#include <optional>

// The walk through the surface's sixteen controls that learns a controller's
// own: for each control in turn the control of the user's that sends the
// next message heard (its kind, channel and number), or nothing when the user
// skips it. A wheel is turned clockwise a few clicks, then counter-clockwise,
// each turn ended by a pause (Pause(), which the caller's timer calls), and
// the values of the two turns tell how it counts (WheelEncodings::Detect); a
// turn no encoding fits is refused and asked for again. A slider is moved (a
// control change or pitch bend), a button pressed (a note or a control
// change). System messages (timing clock, active sensing) and a released key
// carry no control and are passed over; a control another one has taken is
// refused, so that the rest of a turn just learned does not count for the next.
// No window, no device: the caller hands it what it hears. UI thread only.
class LearnWalk {
public:
    enum class Heard { Ignored, Turning, Learned, Refused };

    bool Finished() const { return step_ >= SurfaceControls::kCount; }
    // 0 to 15 while walking, 16 when finished.
    int Step() const { return step_; }
    // "Turn the control to use as Wheel A (home) clockwise a few clicks, then stop"; empty when finished.
    QString Prompt() const;

    Heard Hear(const MidiEvent& message);
    // The wheel being learned has been still a moment: the turn has ended.
    Heard Pause();
    // What the last message heard was and what became of it; empty before any.
    const QString& LastHeard() const { return lastHeard_; }

    // Leaves the current control as the surface sends it and goes on.
    void Skip();

    // The wheel learned last, whose encoding the user may change; none yet.
    std::optional<int> LastWheel() const { return lastWheel_; }
    void SetEncoding(int control, WheelEncoding encoding);

    const LearnedControls::Table& Result() const { return table_; }
    int LearnedCount() const;

private:
    enum class Turn { None, Clockwise, CounterClockwise };

    const SurfaceControls::Control& Current() const { return SurfaceControls::All()[step_]; }
    Heard Refuse(const ControllerControl& control, const QString& bytes);
    Heard HearTurn(const ControllerControl& control, const MidiEvent& message, const QString& bytes);
    Heard Learn(const LearnedControls::Learned& learned, const QString& heard);
    // The control that already took messages of `control`, or -1.
    int ControlOf(const ControllerControl& control) const;

    int step_ = 0;
    int lastLearned_ = -1;
    std::optional<int> lastWheel_;
    LearnedControls::Table table_{};
    QString lastHeard_;
    // The wheel being turned, and the values of its two turns.
    Turn turn_ = Turn::None;
    ControllerControl turning_;
    QList<std::uint8_t> clockwise_;
    QList<std::uint8_t> counterClockwise_;
};
