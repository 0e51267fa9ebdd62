#include "midi/MidiLogText.h"

namespace {
// A collected line of bytes is written once it is longer than this: every tenth byte.
constexpr int kSysexLineWidth = 27;
}

QStringList MidiLogText::Lines(const MidiEvent& event)
{
    if (event.IsSysex())
        return SysexLines(event);
    return {MidiEvent::Hex2(event.status) + QLatin1Char(' ') + MidiEvent::Hex2(event.data1)
            + QLatin1Char(' ') + MidiEvent::Hex2(event.data2) + QStringLiteral(" Timestamp: ")
            + Hex8(event.timestamp)};
}

QString MidiLogText::Hex8(std::uint32_t value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QStringList MidiLogText::SysexLines(const MidiEvent& event)
{
    QStringList lines = {QStringLiteral("SysExclMsg recieved."),
                         QStringLiteral("Timestamp: ") + Hex8(event.timestamp),
                         QString::number(event.sysexLength) + QStringLiteral(" Bytes:")};
    QString line;
    for (int i = 0; i < event.sysexLength; ++i) {
        line += MidiEvent::Hex2(event.sysex[i]) + QLatin1Char(' ');
        if (line.size() > kSysexLineWidth) {
            lines << line;
            line.clear();
        }
    }
    lines << line;
    return lines;
}
