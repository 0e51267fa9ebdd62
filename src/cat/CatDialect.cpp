#include "cat/CatDialect.h"

#include "core/NumberText.h"
#include "core/NumberedError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
struct DigitMode {
    char digit;
    const char* name;
    int passbandHz;
};
constexpr int kSsbHz = 2700, kCwHz = 500, kDataHz = 3000, kAmHz = 6000, kFmHz = 12000;

// The K3's DATA (6) is read as the upper side band, its DATA-REV (9) as the lower.
const std::vector<DigitMode> kElecraftModes = {
    {'1', "LSB", kSsbHz},   {'2', "USB", kSsbHz}, {'3', "CW", kCwHz},  {'4', "FM", kFmHz},
    {'5', "AM", kAmHz},     {'6', "PKTUSB", kDataHz}, {'7', "CWR", kCwHz}, {'9', "PKTLSB", kDataHz},
};
// SmartSDR's DIGL (6) and DIGU (9).
const std::vector<DigitMode> kFlexModes = {
    {'1', "LSB", kSsbHz}, {'2', "USB", kSsbHz}, {'3', "CW", kCwHz},         {'4', "FM", kFmHz},
    {'5', "AM", kAmHz},   {'6', "PKTLSB", kDataHz}, {'9', "PKTUSB", kDataHz},
};

const std::vector<DigitMode>& ModesOf(RigType rig)
{
    return rig == RigType::Elecraft ? kElecraftModes : kFlexModes;
}

QString VfoCommand(Vfo vfo)
{
    return vfo == Vfo::A ? QStringLiteral("FA") : QStringLiteral("FB");
}
} // namespace

const QList<QString>& CatDialect::PollQueries()
{
    static const QList<QString> queries = {QStringLiteral("IF;"), QStringLiteral("FB;"), QStringLiteral("RT;"),
                                           QStringLiteral("XT;"), QStringLiteral("NB;")};
    return queries;
}

QString CatDialect::Frequency(Vfo vfo, qint64 hertz)
{
    return VfoCommand(vfo) + QStringLiteral("%1").arg(hertz, kFrequencyDigits, 10, QLatin1Char('0')) + QLatin1Char(';');
}

QString CatDialect::FrequencyFromReply(Vfo vfo, const QString& reply)
{
    // A short or garbled reply must not reach the radio as a frequency command.
    const std::optional<qint64> hertz = FrequencyOf(reply);
    if (!hertz)
        throw NumberedError::TypeMismatch(QStringLiteral("no frequency in reply \"%1\"").arg(reply));
    return VfoCommand(vfo) + Field(reply, 3, kFrequencyDigits) + QLatin1Char(';');
}

QString CatDialect::Mode(const QString& digit)
{
    return QStringLiteral("MD") + digit + QLatin1Char(';');
}

QString CatDialect::Power(int percent)
{
    return QStringLiteral("PC") + NumberText::BlankLed(percent) + QLatin1Char(';');
}

QString CatDialect::CwSpeed(int wordsPerMinute)
{
    return QStringLiteral("KS") + NumberText::BlankLed(wordsPerMinute) + QLatin1Char(';');
}

QString CatDialect::Split(bool on)
{
    return on ? QStringLiteral("FT1;") : QStringLiteral("FT0;");
}

QString CatDialect::Transmit(bool on)
{
    return on ? QStringLiteral("TX;") : QStringLiteral("RX;");
}

const QByteArrayList& CatDialect::Functions()
{
    static const QByteArrayList functions = {"NB", "RIT", "XIT"};
    return functions;
}

QString CatDialect::Function(const QByteArray& name, bool on)
{
    static const QList<QString> commands = {QStringLiteral("NB"), QStringLiteral("RT"), QStringLiteral("XT")};
    const qsizetype index = Functions().indexOf(name);
    return index < 0 ? QString() : commands[index] + (on ? QStringLiteral("1;") : QStringLiteral("0;"));
}

QString CatDialect::Passband(RigType rig, int hertz)
{
    // The K3 takes its filter width in tens of hertz; SmartSDR's CAT sets filters by number only.
    if (rig != RigType::Elecraft)
        return {};
    const int tens = std::clamp(hertz / 10, 1, 9999);
    return QStringLiteral("BW%1;").arg(tens, 4, 10, QLatin1Char('0'));
}

QString CatDialect::NextModeDigit(const QString& digit)
{
    qint16 mode = NumberText::ToInt16(std::floor(NumberText::ParseDecimal(digit)) + 1.0);
    if (mode == 7)
        mode = 9;
    else if (mode == 10)
        mode = 1;
    return QString::number(mode);
}

QList<RadioMode> CatDialect::Modes(RigType rig)
{
    QList<RadioMode> modes;
    for (const DigitMode& mode : ModesOf(rig))
        modes.append({mode.name, mode.passbandHz});
    return modes;
}

QByteArray CatDialect::ModeName(RigType rig, const QString& digit)
{
    for (const DigitMode& mode : ModesOf(rig))
        if (digit == QLatin1Char(mode.digit))
            return mode.name;
    return {};
}

QString CatDialect::ModeDigit(RigType rig, const QByteArray& name)
{
    for (const DigitMode& mode : ModesOf(rig))
        if (name == mode.name)
            return QString(QLatin1Char(mode.digit));
    return {};
}

CatDialect::Reply CatDialect::KindOf(const QString& reply)
{
    const QString name = reply.left(2);
    if (name == QLatin1String("IF"))
        return Reply::Status;
    if (name == QLatin1String("FB"))
        return Reply::VfoB;
    if (name == QLatin1String("RT"))
        return Reply::Rit;
    if (name == QLatin1String("XT"))
        return Reply::Xit;
    if (name == QLatin1String("NB"))
        return Reply::NoiseBlanker;
    return Reply::Other;
}

std::optional<qint64> CatDialect::FrequencyOf(const QString& reply)
{
    const QString digits = Field(reply, 3, kFrequencyDigits);
    const bool wellFormed = digits.size() == kFrequencyDigits &&
                            std::all_of(digits.begin(), digits.end(), [](QChar c) {
                                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                            });
    return wellFormed ? std::optional<qint64>(digits.toLongLong()) : std::nullopt;
}

QString CatDialect::Field(const QString& reply, int first, int count)
{
    return reply.mid(first - 1, count);
}
