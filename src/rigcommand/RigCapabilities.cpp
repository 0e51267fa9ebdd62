#include "rigcommand/RigCapabilities.h"

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

// Hamlib's functions and levels in the order of their bits (setting_t), as
// its clients read the masks; an empty name is a bit the program never tells.
const QByteArrayList kFunctionBits = {
    "FAGC", "NB", "COMP", "VOX", "TONE", "TSQL", "SBKIN", "FBKIN", "ANF", "NR", "AIP", "APF", "MON", "MN", "RF", "ARO",
    "LOCK", "MUTE", "VSC", "REV", "SQL", "ABM", "BC", "MBC", "RIT", "AFC", "SATMODE", "SCOPE", "RESUME", "TBURST",
    "TUNER", "XIT"};
const QByteArrayList kLevelBits = {
    "PREAMP", "ATT", "VOXDELAY", "AF", "RF", "SQL", "IF", "APF", "NR", "PBT_IN", "PBT_OUT", "CWPITCH", "RFPOWER",
    "MICGAIN", "KEYSPD", "NOTCHF", "COMP", "AGC", "BKINDL", "BALANCE", "METER", "VOXGAIN", "ANTIVOX", "SLOPE_LOW",
    "SLOPE_HIGH"};
// Levels Hamlib keeps as whole numbers.
const QByteArrayList kWholeLevels = {"PREAMP", "ATT", "VOXDELAY", "IF", "CWPITCH", "KEYSPD", "NOTCHF", "AGC",
                                     "BKINDL", "METER", "SLOPE_LOW", "SLOPE_HIGH"};
// Hamlib's VFO operations in the order of their bits.
const QByteArrayList kVfoOperationBits = {"CPY", "XCHG", "FROM_VFO", "TO_VFO", "MCL", "UP", "DOWN", "BAND_UP",
                                          "BAND_DOWN", "LEFT", "RIGHT", "TUNE", "TOGGLE"};

// The mask of the names of `names` among `bits`.
quint64 Mask(const QByteArrayList& bits, const QByteArrayList& names)
{
    quint64 mask = 0;
    for (const QByteArray& name : names) {
        const qsizetype bit = bits.indexOf(name);
        if (bit >= 0)
            mask |= quint64(1) << bit;
    }
    return mask;
}

QByteArray Hex(quint64 value)
{
    return "0x" + QByteArray::number(value, 16);
}

// Hamlib's bit of each mode the radios here have.
quint64 BitOf(const QByteArray& mode)
{
    // Hamlib's modes in the order of their bits (rmode_t), then the other
    // names Hamlib versions give some of them.
    static const QByteArrayList bits = {
        "AM", "CW", "USB", "LSB", "RTTY", "FM", "WFM", "CWR", "RTTYR", "AMS", "PKTLSB", "PKTUSB", "PKTFM", "ECSSUSB",
        "ECSSLSB", "FAX", "SAM", "SAL", "SAH", "DSB", "", "FMN", "PKTAM", "P25", "D-STAR", "DPMR", "NXDN-VN", "NXDN-N",
        "DCR", "AMN", "PSK", "PSKR", "DD", "C4FM", "PKTFMN", "SPEC", "CWN", "IQ", "ISBUSB", "ISBLSB"};
    static const std::map<QByteArray, QByteArray> aliases = {
        {"AM-D", "PKTAM"}, {"FM-D", "PKTFM"}, {"CW-R", "CWR"}, {"RTTY-R", "RTTYR"}, {"LSB-D", "PKTLSB"},
        {"USB-D", "PKTUSB"}};
    const auto alias = aliases.find(mode);
    const qsizetype bit = bits.indexOf(alias == aliases.end() ? mode : alias->second);
    return bit > 0 || mode == bits[0] ? quint64(1) << bit : 0;
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

// One line per passband: the modes that have it as their normal width. A
// line without a mode would end the list for the client.
QByteArray Filters(const QList<RadioMode>& modes)
{
    std::map<int, quint64> widths;
    for (const RadioMode& mode : modes)
        widths[mode.passbandHz] = MaskOf(modes, mode.passbandHz);
    QByteArray lines;
    for (const auto& [width, mask] : widths)
        if (mask != 0)
            lines += Hex(mask) + ' ' + QByteArray::number(width) + '\n';
    return lines + kListEnd;
}
} // namespace

QByteArray RigCapabilities::LevelText(const QByteArray& name, double value)
{
    return kWholeLevels.contains(name) ? QByteArray::number(qRound64(value)) : QByteArray::number(value, 'f', 6);
}

QByteArray RigCapabilities::DumpState(const QList<RadioMode>& radioModes, const RadioAbilities& abilities)
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
    // Functions and levels, each to read and to set: what the radio carries
    // out is answered from its state; no parameters.
    const QByteArray functions = Hex(Mask(kFunctionBits, abilities.functions));
    const QByteArray levels = Hex(Mask(kLevelBits, abilities.levels));
    text += functions + '\n' + functions + '\n' + levels + '\n' + levels + "\n0x0\n0x0\n";
    text += "vfo_ops=" + Hex(Mask(kVfoOperationBits, abilities.vfoOperations)) + '\n';
    text += "ptt_type=" + Hex(kPttByRig) + '\n';
    text += "targetable_vfo=0x0\n";
    text += "has_set_vfo=1\nhas_get_vfo=1\nhas_set_freq=1\nhas_get_freq=1\n";
    text += "done\n";
    return text;
}
