#pragma once

#include "core/MidiEvent.h"
#include "midi/LearnedControls.h"

#include <QString>

// The walk through the surface's sixteen controls that learns a controller's
// own numbers: for each control in turn it takes the first data byte of the
// next message heard, or nothing when the user skips it. System messages
// (timing clock, active sensing and the like) carry no control and a released
// key ends a press, so both are passed over; a byte already taken by another
// control is refused, so that the rest of a turn of the control just learned
// does not count for the next.
// No window, no device: the caller hands it what it hears. UI thread only.
class LearnWalk {
public:
    enum class Heard { Ignored, Learned, Refused };

    bool Finished() const { return step_ >= SurfaceControls::kCount; }
    // 0 to 15 while walking, 16 when finished.
    int Step() const { return step_; }
    // "Turn the control to use as Wheel A (home)"; empty when finished.
    QString Prompt() const;

    Heard Hear(const MidiEvent& message);
    // What the last message heard was and what became of it; empty before any.
    const QString& LastHeard() const { return lastHeard_; }

    // Leaves the current control as the surface sends it and goes on.
    void Skip();

    const LearnedControls::Table& Result() const { return table_; }
    int LearnedCount() const;

private:
    // The control that already took `byte`, or -1.
    int ControlOf(std::uint8_t byte) const;

    int step_ = 0;
    int lastLearned_ = -1;
    LearnedControls::Table table_{};
    QString lastHeard_;
};
