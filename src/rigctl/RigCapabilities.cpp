#include "rigctl/RigCapabilities.h"

#include <map>

namespace {
// Both rig types cover 30 kHz to 54 MHz.
constexpr const char* kLowestHz = "30000.000000";
constexpr const char* kTopOfRangeHz = "54000000.000000";
// Hamlib's VFO A and B bits, its first antenna, and transmit power in milliwatts.
constexpr const char* kVfoAandB = "0x3";
constexpr const char* kFirstAntenna = "0x1";
constexpr int kLowestPowerMw = 1000;
constexpr int kHighestPowerMw = 100000;
constexpr const char* kRangeEnd = "0 0 0 0 0 0 0\n";
constexpr const char* kListEnd = "0 0\n";
// RIT and XIT reach +-9.99 kHz.
constexpr int kMaxRitHz = 9990;
// Hamlib's "PTT by CAT command".
constexpr int kPttByRig = 1;

QByteArray Hex(quint64 value)
{
    return "0x" + QByteArray::number(value, 16);
}

// Hamlib's bit of each mode the radios here have.
quint64 BitOf(const QByteArray& mode)
{
    static const std::map<QByteArray, quint64> bits = {
        {"AM", 0x1}, {"CW", 0x2}, {"USB", 0x4}, {"LSB", 0x8}, {"FM", 0x20}, {"CWR", 0x80},
        {"PKTLSB", 0x400}, {"PKTUSB", 0x800},
    };
    const auto bit = bits.find(mode);
    return bit == bits.end() ? 0 : bit->second;
}

// The bits of the modes whose normal passband is `hertz`, or of all when none is given.
quint64 MaskOf(const QList<RadioMode>& modes, int hertz = -1)
{
    quint64 mask = 0;
    for (const RadioMode& mode : modes)
        if (hertz < 0 || mode.passbandHz == hertz)
            mask |= BitOf(mode.name);
    return mask;
}

QByteArray Range(quint64 modes, int lowMw, int highMw)
{
    return QByteArray(kLowestHz) + ' ' + kTopOfRangeHz + ' ' + Hex(modes) + ' '
           + QByteArray::number(lowMw) + ' ' + QByteArray::number(highMw) + ' ' + kVfoAandB + ' '
           + kFirstAntenna + '\n';
}

// One line per passband: the modes that have it as their normal width.
QByteArray Filters(const QList<RadioMode>& modes)
{
    std::map<int, quint64> widths;
    for (const RadioMode& mode : modes)
        widths[mode.passbandHz] = MaskOf(modes, mode.passbandHz);
    QByteArray lines;
    for (const auto& [width, mask] : widths)
        lines += Hex(mask) + ' ' + QByteArray::number(width) + '\n';
    return lines + kListEnd;
}
} // namespace

QByteArray RigCapabilities::DumpState(const QList<RadioMode>& radioModes)
{
    const quint64 modes = MaskOf(radioModes);
    QByteArray text;
    text += "1\n";                                        // protocol version
    text += QByteArray::number(kNetRigctlModel) + '\n';
    text += "0\n";                                        // ITU region, no longer used
    text += Range(modes, -1, -1) + kRangeEnd;             // receive
    text += Range(modes, kLowestPowerMw, kHighestPowerMw) + kRangeEnd; // transmit
    text += Hex(modes) + " 1\n" + kListEnd;               // tuning steps: 1 Hz
    text += Filters(radioModes);
    text += QByteArray::number(kMaxRitHz) + '\n';         // RIT
    text += QByteArray::number(kMaxRitHz) + '\n';         // XIT
    text += "0\n";                                        // IF shift
    text += "0\n";                                        // announcements
    text += "\n\n";                                       // no preamplifiers, no attenuators
    for (int list = 0; list < 6; ++list)                  // functions, levels, parameters: get and set
        text += "0x0\n";
    text += "vfo_ops=0x0\n";
    text += "ptt_type=" + Hex(kPttByRig) + '\n';
    text += "targetable_vfo=0x0\n";
    text += "has_set_vfo=1\nhas_get_vfo=1\nhas_set_freq=1\nhas_get_freq=1\n";
    text += "done\n";
    return text;
}
