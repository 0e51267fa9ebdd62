#include "midi/LearnWalk.h"

namespace {
constexpr std::uint8_t kFirstSystemStatus = 0xF0;
constexpr std::uint8_t kFirstStatusByte = 0x80;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;

// A key let go: no control being used, only the end of a press.
bool IsRelease(const MidiEvent& message)
{
    const std::uint8_t kind = message.status & 0xF0;
    return kind == kNoteOff || (kind == kNoteOn && message.data2 == 0);
}

QString BytesOf(const MidiEvent& message)
{
    return MidiEvent::Hex2(message.status) + QLatin1Char(' ') + MidiEvent::Hex2(message.data1)
           + QLatin1Char(' ') + MidiEvent::Hex2(message.data2);
}
} // namespace

QString LearnWalk::Prompt() const
{
    if (Finished())
        return QString();
    const SurfaceControls::Control& control = SurfaceControls::All()[step_];
    switch (control.kind) {
    case SurfaceControls::Kind::Wheel:
        return QStringLiteral("Turn the control to use as ") + control.name;
    case SurfaceControls::Kind::Slider:
        return QStringLiteral("Move the control to use as ") + control.name;
    case SurfaceControls::Kind::Button:
        break;
    }
    return QStringLiteral("Press the button to use as ") + control.name;
}

LearnWalk::Heard LearnWalk::Hear(const MidiEvent& message)
{
    if (Finished() || message.IsSysex() || message.status >= kFirstSystemStatus
        || message.status < kFirstStatusByte || message.data1 >= kFirstStatusByte
        || IsRelease(message))
        return Heard::Ignored;
    const QString bytes = BytesOf(message);
    const int owner = ControlOf(message.data1);
    if (owner >= 0) {
        // The rest of a turn of the control just learned is no mistake of the user's.
        const QString text = owner == lastLearned_
                                 ? QStringLiteral("Heard %1: %2 is %3, learned just now.")
                                 : QStringLiteral("Heard %1: %2 is already %3; use another control.");
        lastHeard_ = text.arg(bytes, MidiEvent::Hex2(message.data1),
                              SurfaceControls::All()[owner].name);
        return Heard::Refused;
    }
    table_[step_] = message.data1;
    lastLearned_ = step_;
    lastHeard_ = QStringLiteral("Heard %1: %2 is now %3.")
                     .arg(bytes, MidiEvent::Hex2(message.data1),
                          SurfaceControls::All()[step_].name);
    ++step_;
    return Heard::Learned;
}

void LearnWalk::Skip()
{
    if (!Finished())
        ++step_;
    lastLearned_ = -1;
}

int LearnWalk::LearnedCount() const
{
    int count = 0;
    for (const auto& byte : table_)
        count += byte ? 1 : 0;
    return count;
}

int LearnWalk::ControlOf(std::uint8_t byte) const
{
    for (int i = 0; i < SurfaceControls::kCount; ++i) {
        if (table_[i] == byte)
            return i;
    }
    return -1;
}
