#include "rigctl/RigModes.h"

#include <algorithm>
#include <vector>

namespace {
struct Mode {
    char digit;
    const char* name;
    quint64 hamlibBit;
    int normalPassband;
};

// Hamlib's mode bits.
constexpr quint64 kAm = 0x1, kCw = 0x2, kUsb = 0x4, kLsb = 0x8, kFm = 0x20, kCwr = 0x80,
                  kPktLsb = 0x400, kPktUsb = 0x800;
constexpr int kSsbHz = 2700, kCwHz = 500, kDataHz = 3000, kAmHz = 6000, kFmHz = 12000;

// The K3's DATA (6) is read as the upper side band, its DATA-REV (9) as the lower.
const std::vector<Mode> kElecraft = {
    {'1', "LSB", kLsb, kSsbHz},       {'2', "USB", kUsb, kSsbHz},  {'3', "CW", kCw, kCwHz},
    {'4', "FM", kFm, kFmHz},          {'5', "AM", kAm, kAmHz},     {'6', "PKTUSB", kPktUsb, kDataHz},
    {'7', "CWR", kCwr, kCwHz},        {'9', "PKTLSB", kPktLsb, kDataHz},
};
// SmartSDR's DIGL (6) and DIGU (9).
const std::vector<Mode> kFlex = {
    {'1', "LSB", kLsb, kSsbHz},       {'2', "USB", kUsb, kSsbHz},  {'3', "CW", kCw, kCwHz},
    {'4', "FM", kFm, kFmHz},          {'5', "AM", kAm, kAmHz},     {'6', "PKTLSB", kPktLsb, kDataHz},
    {'9', "PKTUSB", kPktUsb, kDataHz},
};
const std::vector<Mode> kNone;

const std::vector<Mode>& ModesOf(const QString& rigtype)
{
    if (rigtype == QLatin1String("elecraft"))
        return kElecraft;
    if (rigtype == QLatin1String("flex"))
        return kFlex;
    return kNone;
}
} // namespace

QByteArray RigModes::Name(const QString& rigtype, const QString& digit)
{
    for (const Mode& mode : ModesOf(rigtype))
        if (digit == QLatin1Char(mode.digit))
            return mode.name;
    return {};
}

QString RigModes::Digit(const QString& rigtype, const QByteArray& name)
{
    for (const Mode& mode : ModesOf(rigtype))
        if (name == mode.name)
            return QString(QLatin1Char(mode.digit));
    return {};
}

bool RigModes::Knows(const QString& rigtype)
{
    return !ModesOf(rigtype).empty();
}

int RigModes::NormalPassband(const QString& rigtype, const QByteArray& name)
{
    for (const Mode& mode : ModesOf(rigtype))
        if (name == mode.name)
            return mode.normalPassband;
    return 0;
}

quint64 RigModes::Mask(const QString& rigtype)
{
    quint64 mask = 0;
    for (const Mode& mode : ModesOf(rigtype))
        mask |= mode.hamlibBit;
    return mask;
}

quint64 RigModes::MaskWithPassband(const QString& rigtype, int hertz)
{
    quint64 mask = 0;
    for (const Mode& mode : ModesOf(rigtype))
        if (mode.normalPassband == hertz)
            mask |= mode.hamlibBit;
    return mask;
}

QString RigModes::PassbandCommand(const QString& rigtype, int hertz)
{
    // The K3 takes its filter width in tens of hertz; SmartSDR's CAT sets filters by number only.
    if (rigtype != QLatin1String("elecraft"))
        return {};
    const int tens = std::clamp(hertz / 10, 1, 9999);
    return QStringLiteral("BW%1;").arg(tens, 4, 10, QLatin1Char('0'));
}
