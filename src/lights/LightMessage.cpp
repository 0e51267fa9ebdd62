#include "lights/LightMessage.h"

#include <QStringList>

namespace {
using Kind = ControllerControl::Kind;
}

MidiEvent LightMessage::Message(bool lit) const
{
    const std::uint8_t kind = control.kind == Kind::Note ? MidiEvent::kNoteOn : MidiEvent::kControlChange;
    return MidiEvent::Short(std::uint8_t(kind | control.channel), control.number, lit ? on : off);
}

std::optional<LightMessage> LightMessage::UnderButton(const ControllerControl& button)
{
    switch (button.kind) {
    case Kind::Note:
    case Kind::ControlChange:
        return LightMessage{button};
    case Kind::AnyMessage:
        return LightMessage{{Kind::ControlChange, 0, button.number}};
    case Kind::PitchBend:
        break;
    }
    return std::nullopt;
}

QString LightMessage::Text() const
{
    return QStringLiteral("%1 %2 %3").arg(control.Text(), MidiEvent::Hex2(on), MidiEvent::Hex2(off));
}

std::optional<LightMessage> LightMessage::Parse(const QString& text)
{
    QStringList words = text.simplified().split(QLatin1Char(' '));
    if (words.size() != 5)
        return std::nullopt;
    const std::optional<std::uint8_t> off = ControllerControl::DataByte(words.takeLast());
    const std::optional<std::uint8_t> on = ControllerControl::DataByte(words.takeLast());
    const std::optional<ControllerControl> control = ControllerControl::Parse(words.join(QLatin1Char(' ')));
    if (!on || !off || !control || (control->kind != Kind::Note && control->kind != Kind::ControlChange))
        return std::nullopt;
    return LightMessage{*control, *on, *off};
}
