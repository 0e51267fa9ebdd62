#include "midi/ControllerControl.h"

#include <QStringList>

namespace {
constexpr int kDataBytes = 128;

const char* KindWord(ControllerControl::Kind kind)
{
    switch (kind) {
    case ControllerControl::Kind::Note: return "note";
    case ControllerControl::Kind::ControlChange: return "cc";
    case ControllerControl::Kind::PitchBend: return "bend";
    case ControllerControl::Kind::AnyMessage: break;
    }
    return "";
}

} // namespace

std::optional<std::uint8_t> ControllerControl::DataByte(const QString& text)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber, 16);
    return isNumber && text.size() <= 2 && value >= 0 && value < kDataBytes ? std::optional<std::uint8_t>(value)
                                                                          : std::nullopt;
}

std::optional<ControllerControl> ControllerControl::Of(const MidiEvent& message)
{
    const std::uint8_t kind = message.Kind();
    const int channel = message.status & 0x0F;
    if (message.IsSysex())
        return std::nullopt;
    if (kind == MidiEvent::kNoteOn || kind == MidiEvent::kNoteOff)
        return ControllerControl{Kind::Note, channel, message.data1};
    if (kind == MidiEvent::kControlChange)
        return ControllerControl{Kind::ControlChange, channel, message.data1};
    if (kind == MidiEvent::kPitchBend)
        return ControllerControl{Kind::PitchBend, channel, 0};
    return std::nullopt;
}

bool ControllerControl::Sends(const MidiEvent& message) const
{
    if (kind == Kind::AnyMessage)
        return !message.IsSysex() && message.data1 == number;
    const std::optional<ControllerControl> sender = Of(message);
    return sender && *sender == *this;
}

bool ControllerControl::Overlaps(const ControllerControl& other) const
{
    if (kind == Kind::AnyMessage || other.kind == Kind::AnyMessage)
        return number == other.number && kind != Kind::PitchBend && other.kind != Kind::PitchBend;
    return *this == other;
}

QString ControllerControl::Text() const
{
    const QString hex = MidiEvent::Hex2(number);
    switch (kind) {
    case Kind::AnyMessage: return hex;
    case Kind::PitchBend: return QStringLiteral("bend %1").arg(channel + 1);
    default: break;
    }
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(KindWord(kind))).arg(channel + 1).arg(hex);
}

std::optional<ControllerControl> ControllerControl::Parse(const QString& text)
{
    const QStringList words = text.simplified().split(QLatin1Char(' '));
    if (words.size() == 1) {
        const std::optional<std::uint8_t> number = DataByte(words[0]);
        return number ? std::optional<ControllerControl>({Kind::AnyMessage, 0, *number}) : std::nullopt;
    }
    bool isNumber = false;
    const int channel = words[1].toInt(&isNumber) - 1;
    if (!isNumber || channel < 0 || channel > 15)
        return std::nullopt;
    const QString kind = words[0].toLower();
    if (kind == QLatin1String(KindWord(Kind::PitchBend)))
        return words.size() == 2 ? std::optional<ControllerControl>({Kind::PitchBend, channel, 0}) : std::nullopt;
    const std::optional<std::uint8_t> number = words.size() == 3 ? DataByte(words[2]) : std::nullopt;
    if (!number)
        return std::nullopt;
    for (const Kind k : {Kind::Note, Kind::ControlChange}) {
        if (kind == QLatin1String(KindWord(k)))
            return ControllerControl{k, channel, *number};
    }
    return std::nullopt;
}

QString ControllerControl::Describe() const
{
    switch (kind) {
    case Kind::AnyMessage: return QStringLiteral("number %1 of any message").arg(number);
    case Kind::PitchBend: return QStringLiteral("pitch bend on channel %1").arg(channel + 1);
    case Kind::Note: return QStringLiteral("note %1 on channel %2").arg(number).arg(channel + 1);
    case Kind::ControlChange: break;
    }
    return QStringLiteral("CC %1 on channel %2").arg(number).arg(channel + 1);
}

bool ControllerControl::operator==(const ControllerControl& other) const
{
    return kind == other.kind && (kind == Kind::AnyMessage || channel == other.channel) &&
           (kind == Kind::PitchBend || number == other.number);
}
