#include "midi/LearnWalk.h"

#include <QStringList>

#include <algorithm>

namespace {
using Kind = SurfaceControls::Kind;
constexpr int kTurnClicks = 2;

// A key let go: no control being used, only the end of a press.
bool IsRelease(const MidiEvent& message)
{
    const std::uint8_t kind = message.Kind();
    return kind == MidiEvent::kNoteOff || (kind == MidiEvent::kNoteOn && message.data2 == 0);
}

QString BytesOf(const MidiEvent& message)
{
    return MidiEvent::Hex2(message.status) + QLatin1Char(' ') + MidiEvent::Hex2(message.data1) + QLatin1Char(' ')
           + MidiEvent::Hex2(message.data2);
}

QString ValuesOf(const QList<std::uint8_t>& values)
{
    QStringList hex;
    for (const std::uint8_t value : values)
        hex << MidiEvent::Hex2(value);
    return hex.join(QLatin1Char(' '));
}

// What a control of each kind may be: a wheel turns a control change, a slider
// also bends pitch, a button is a key or a control change.
bool Fits(Kind kind, ControllerControl::Kind sender)
{
    switch (kind) {
    case Kind::Wheel: return sender == ControllerControl::Kind::ControlChange;
    case Kind::Slider: return sender != ControllerControl::Kind::Note;
    case Kind::Button: break;
    }
    return sender != ControllerControl::Kind::PitchBend;
}
} // namespace

QString LearnWalk::Prompt() const
{
    if (Finished())
        return QString();
    switch (Current().kind) {
    case Kind::Wheel:
        return turn_ == Turn::CounterClockwise
                   ? QStringLiteral("Now turn it counter-clockwise a few clicks, then stop")
                   : QStringLiteral("Turn the control to use as %1 clockwise a few clicks, then stop").arg(Current().name);
    case Kind::Slider:
        return QStringLiteral("Move the control to use as ") + Current().name;
    case Kind::Button:
        break;
    }
    return QStringLiteral("Press the button to use as ") + Current().name;
}

LearnWalk::Heard LearnWalk::Hear(const MidiEvent& message)
{
    const std::optional<ControllerControl> control = ControllerControl::Of(message);
    if (Finished() || message.status >= MidiEvent::kFirstSystem || !control || IsRelease(message))
        return Heard::Ignored;
    const QString bytes = BytesOf(message);
    if (turn_ != Turn::None)
        return HearTurn(*control, message, bytes);
    if (ControlOf(*control) >= 0)
        return Refuse(*control, bytes);
    if (!Fits(Current().kind, control->kind)) {
        lastHeard_ = QStringLiteral("Heard %1: %2 cannot be %3.").arg(bytes, control->Describe(), Current().name);
        return Heard::Refused;
    }
    if (Current().kind == Kind::Wheel) {
        turn_ = Turn::Clockwise;
        turning_ = *control;
        return HearTurn(*control, message, bytes);
    }
    return Learn({*control}, QStringLiteral("Heard %1: %2 is now %3.").arg(bytes, control->Describe(), Current().name));
}

LearnWalk::Heard LearnWalk::Refuse(const ControllerControl& control, const QString& bytes)
{
    const int owner = ControlOf(control);
    // The rest of a turn of the control just learned is no mistake of the user's.
    const QString text = owner == lastLearned_ ? QStringLiteral("Heard %1: %2 is %3, learned just now.")
                                               : QStringLiteral("Heard %1: %2 is already %3; use another control.");
    lastHeard_ = text.arg(bytes, control.Describe(), SurfaceControls::All()[owner].name);
    return Heard::Refused;
}

LearnWalk::Heard LearnWalk::HearTurn(const ControllerControl& control, const MidiEvent& message, const QString& bytes)
{
    if (!(control == turning_))
        return Heard::Ignored;
    (turn_ == Turn::Clockwise ? clockwise_ : counterClockwise_) << message.data2;
    lastHeard_ = QStringLiteral("Heard %1: %2 turned %3.")
                     .arg(bytes, control.Describe(),
                          turn_ == Turn::Clockwise ? QStringLiteral("clockwise") : QStringLiteral("counter-clockwise"));
    return Heard::Turning;
}

LearnWalk::Heard LearnWalk::Pause()
{
    if (turn_ == Turn::Clockwise && clockwise_.size() >= kTurnClicks) {
        turn_ = Turn::CounterClockwise;
        return Heard::Turning;
    }
    if (turn_ != Turn::CounterClockwise || counterClockwise_.size() < kTurnClicks)
        return Heard::Ignored;
    const std::optional<WheelEncoding> encoding = WheelEncodings::Detect(clockwise_, counterClockwise_);
    const QString values = QStringLiteral("clockwise %1, counter-clockwise %2")
                               .arg(ValuesOf(clockwise_), ValuesOf(counterClockwise_));
    turn_ = Turn::None;
    clockwise_.clear();
    counterClockwise_.clear();
    if (!encoding) {
        lastHeard_ = QStringLiteral("%1 turned %2, which fits no wheel encoding: turn it again, clockwise a few "
                                    "clicks, then counter-clockwise.")
                         .arg(turning_.Describe(), values);
        return Heard::Refused;
    }
    lastWheel_ = step_;
    return Learn({turning_, *encoding}, QStringLiteral("%1 turned %2: a wheel of %3, now %4.")
                                            .arg(turning_.Describe(), values, WheelEncodings::Name(*encoding),
                                                 Current().name));
}

LearnWalk::Heard LearnWalk::Learn(const LearnedControls::Learned& learned, const QString& heard)
{
    table_[step_] = learned;
    lastLearned_ = step_;
    lastHeard_ = heard;
    ++step_;
    return Heard::Learned;
}

void LearnWalk::Skip()
{
    if (!Finished())
        ++step_;
    turn_ = Turn::None;
    clockwise_.clear();
    counterClockwise_.clear();
    lastLearned_ = -1;
}

void LearnWalk::SetEncoding(int control, WheelEncoding encoding)
{
    if (table_[control])
        table_[control]->encoding = encoding;
}

int LearnWalk::LearnedCount() const
{
    return int(std::count_if(table_.begin(), table_.end(), [](const auto& learned) { return learned.has_value(); }));
}

int LearnWalk::ControlOf(const ControllerControl& control) const
{
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        if (table_[i] && table_[i]->control.Overlaps(control))
            return i;
    }
    return -1;
}
