#include "RadioModel.h"

#include <QRegularExpression>

namespace {
const QByteArray kRejected = "?;";

bool Matches(const char* pattern, const QByteArray& text)
{
    const QRegularExpression re(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
    return re.match(QString::fromLatin1(text)).hasMatch();
}

QByteArray Reply(const QByteArray& name, const QByteArray& value)
{
    return name + value + ';';
}

QByteArray ElevenDigits(qint64 hz)
{
    const QByteArray digits = QByteArray::number(qAbs(hz)).rightJustified(11, '0');
    return hz < 0 ? '-' + digits : digits;
}

// Hertz per step of UPn;/DNn;, index n.
constexpr int kStepHz[] = {1, 10, 20, 50, 1000, 2000, 3000, 5000, 100, 200};

// What Hamlib's Kenwood TS-480 driver asks at open and before mode changes:
// answered, it opens without waiting out a timeout for each.
QByteArray HamlibOpenReply(const QByteArray& name)
{
    if (name == "ID")
        return "ID020;";
    if (name == "PS")
        return "PS1;";
    if (name == "AI")
        return "AI0;";
    if (name == "FW")
        return "FW0000;";
    return {};
}
}

RadioModel::RadioModel(const Settings& settings, QObject* parent)
    : QObject(parent), freqA_(settings.freqA), freqB_(settings.freqB), mode_(settings.mode),
      hasVfoB_(settings.hasVfoB)
{
}

QByteArray RadioModel::Execute(const QByteArray& command)
{
    Remember(command);
    if (!Matches("[A-Z]{2}[0-9A-Z +-]{0,40}", command))
        return kRejected;
    return Dispatch(command.left(2), command.mid(2));
}

QByteArray RadioModel::Dispatch(const QByteArray& name, const QByteArray& args)
{
    if (name == "IF")
        return args.isEmpty() ? IfReply() : kRejected;
    if (args.isEmpty() && !HamlibOpenReply(name).isEmpty())
        return HamlibOpenReply(name);
    if (name == "FA")
        return Frequency(freqA_, name, args, true);
    if (name == "FB")
        return Frequency(freqB_, name, args, hasVfoB_);
    if (name == "RT")
        return Switch(rit_, name, args);
    if (name == "XT")
        return Switch(xit_, name, args);
    if (name == "MD")
        return Mode(args);
    if (name == "PC")
        return Level(power_, name, args, 110);
    if (name == "KS")
        return Level(keyerSpeed_, name, args, 100);
    if (name == "UP")
        return Step(args, +1);
    if (name == "DN")
        return Step(args, -1);
    if (name == "TX" || name == "RX")
        return Transmit(name == "TX", args);
    if (name == "FT")
        return Switch(split_, name, args);
    if (name == "NB")
        return Switch(noiseBlanker_, name, args);
    if (name == "FR")
        return Switch(receivesOnB_, name, args);
    if ((name == "SW") && !Matches("[TH][0-9]{1,3}", args))
        return kRejected;
    return {};
}

QByteArray RadioModel::IfReply() const
{
    QByteArray reply = "IF" + freqA_.right(11).rightJustified(11, '0');
    reply += "     ";              // 14-18
    reply += "+0000";              // 19-23: RIT/XIT offset
    reply += rit_ ? '1' : '0';     // 24
    reply += xit_ ? '1' : '0';     // 25
    reply += ' ';                  // 26
    reply += "00";                 // 27-28: memory channel
    reply += transmitting_ ? '1' : '0'; // 29: transmit
    reply += mode_;                // 30
    reply += receivesOnB_ ? '1' : '0'; // 31: receiving VFO
    reply += '0';                  // 32: no scan
    reply += split_ ? '1' : '0';   // 33: split
    reply += '0';                  // 34: no band change
    reply += '0';                  // 35: data sub-mode
    reply += '1';                  // 36
    reply += ' ';                  // 37
    reply += ';';
    return reply;
}

QByteArray RadioModel::Frequency(QByteArray& vfo, const QByteArray& name, const QByteArray& args,
                                 bool available)
{
    if (!available)
        return kRejected;
    if (args.isEmpty())
        return Reply(name, vfo);
    if (!Matches("-?[0-9]{11,}", args))
        return kRejected;
    vfo = args;
    Changed();
    return {};
}

QByteArray RadioModel::Switch(bool& flag, const QByteArray& name, const QByteArray& args)
{
    if (args.isEmpty())
        return Reply(name, flag ? "1" : "0");
    if (!Matches("[01]", args))
        return kRejected;
    flag = args == "1";
    Changed();
    return {};
}

QByteArray RadioModel::Level(int& value, const QByteArray& name, const QByteArray& args, int max)
{
    if (args.isEmpty())
        return Reply(name, QByteArray::number(value).rightJustified(3, '0'));
    if (!Matches(" ?[0-9]{1,3}", args) || args.trimmed().toInt() > max)
        return kRejected;
    value = args.trimmed().toInt();
    Changed();
    return {};
}

QByteArray RadioModel::Step(const QByteArray& args, int direction)
{
    if (!Matches("[0-9]?", args))
        return kRejected;
    const int hz = kStepHz[args.isEmpty() ? 1 : args.toInt()];
    freqA_ = ElevenDigits(freqA_.toLongLong() + direction * hz);
    Changed();
    return {};
}

QByteArray RadioModel::Mode(const QByteArray& args)
{
    if (args.isEmpty())
        return Reply("MD", QByteArray(1, mode_));
    if (!Matches("[1-9]", args))
        return kRejected;
    mode_ = args[0];
    Changed();
    return {};
}

QByteArray RadioModel::Transmit(bool on, const QByteArray& args)
{
    if (!args.isEmpty())
        return kRejected;
    transmitting_ = on;
    Changed();
    return {};
}

void RadioModel::Remember(const QByteArray& command)
{
    lastCommands_.append(command);
    while (lastCommands_.size() > kKeptCommands)
        lastCommands_.removeFirst();
    emit commandReceived(command);
}

void RadioModel::Changed()
{
    emit stateChanged();
}
