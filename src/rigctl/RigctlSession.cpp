#include "rigctl/RigctlSession.h"

#include "core/Options.h"
#include "core/RadioState.h"
#include "rigctl/RigCapabilities.h"

#include <algorithm>
#include <cmath>

namespace {
// The highest frequency the radio's eleven digits hold.
constexpr double kHighestHz = 99999999999.0;
// Hamlib's "normal" passband; "no change" is -1.
constexpr long kPassbandNormal = 0;

// A client's frequency ("7074000", "7074000.000000") in whole hertz.
std::optional<qint64> RequestedHertz(const QByteArray& text)
{
    bool isNumber = false;
    const double hertz = text.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(hertz) || hertz < 1.0 || hertz > kHighestHz)
        return std::nullopt;
    return std::llround(hertz);
}

QByteArray Report(int result)
{
    return "RPRT " + QByteArray::number(result) + '\n';
}
} // namespace

struct RigctlSession::Command {
    char shortName;                // 0: reached by its long name only
    const char* longName;
    int maxArgs;
    int minArgs;
    bool takesRestOfLine;          // its one argument is the rest of the line, spaces and all
    bool needsRadio;               // answered with an I/O error while the link is down
    // Names of the values in extended answers; none for a command that changes
    // something, an empty one for a value shown as it stands.
    QByteArrayList labels;
    Reply (RigctlSession::*run)(const QByteArrayList& args);
};

const RigctlSession::Command* RigctlSession::Find(const QByteArray& word)
{
    static const Command commands[] = {
        {'f', "get_freq", 0, 0, false, true, {"Frequency"}, &RigctlSession::GetFreq},
        {'F', "set_freq", 1, 1, false, true, {}, &RigctlSession::SetFreq},
        {'m', "get_mode", 0, 0, false, true, {"Mode", "Passband"}, &RigctlSession::GetMode},
        {'M', "set_mode", 2, 1, false, true, {}, &RigctlSession::SetMode},
        {'v', "get_vfo", 0, 0, false, false, {"VFO"}, &RigctlSession::GetVfo},
        {'V', "set_vfo", 1, 1, false, false, {}, &RigctlSession::SetVfo},
        {'t', "get_ptt", 0, 0, false, true, {"PTT"}, &RigctlSession::GetPtt},
        {'T', "set_ptt", 1, 1, false, true, {}, &RigctlSession::SetPtt},
        {'s', "get_split_vfo", 0, 0, false, true, {"Split", "TX VFO"}, &RigctlSession::GetSplit},
        {'S', "set_split_vfo", 2, 1, false, true, {}, &RigctlSession::SetSplit},
        {'i', "get_split_freq", 0, 0, false, true, {"TX Frequency"}, &RigctlSession::GetSplitFreq},
        {'I', "set_split_freq", 1, 1, false, true, {}, &RigctlSession::SetSplitFreq},
        {'_', "get_info", 0, 0, false, false, {"Info"}, &RigctlSession::GetInfo},
        {'J', "set_rit", 1, 1, false, true, {}, &RigctlSession::SetRit},
        {'Z', "set_xit", 1, 1, false, true, {}, &RigctlSession::SetXit},
        {'U', "set_func", 2, 2, false, true, {}, &RigctlSession::SetFunction},
        {'L', "set_level", 2, 2, false, true, {}, &RigctlSession::SetLevel},
        {'G', "vfo_op", 1, 1, false, true, {}, &RigctlSession::RunVfoOperation},
        {'w', "send_cmd", 1, 1, true, true, {}, &RigctlSession::SendText},
        {0, "get_powerstat", 0, 0, false, true, {"Power Status"}, &RigctlSession::GetPowerStat},
        {0, "chk_vfo", 0, 0, false, false, {"ChkVFO"}, &RigctlSession::CheckVfo},
        {0, "get_lock_mode", 0, 0, false, false, {"Locked"}, &RigctlSession::GetLockMode},
        {0, "dump_state", 0, 0, false, false, {""}, &RigctlSession::DumpState},
        {'q', "quit", 0, 0, false, false, {}, &RigctlSession::Quit},
        {'Q', "quit", 0, 0, false, false, {}, &RigctlSession::Quit},
    };
    const bool longName = word.size() > 1 && word.startsWith('\\');
    for (const Command& command : commands) {
        if (longName ? word.mid(1) == command.longName
                     : word.size() == 1 && command.shortName && word[0] == command.shortName)
            return &command;
    }
    return nullptr;
}

RigctlSession::RigctlSession(IRadio& radio, const RadioState& state, const Options& options)
    : radio_(radio), state_(state), options_(options)
{
}

template <typename Take>
void RigctlSession::RunLine(const QByteArray& line, Take take)
{
    const QByteArrayList words = line.simplified().split(' ');
    for (qsizetype next = 0; next < words.size() && !words[next].isEmpty() && !quit_;) {
        const QByteArray& word = words[next++];
        const Command* command = Find(word);
        if (!command) {
            take(word, nullptr, QByteArrayList(), Reply{kNotAvailable, {}, true});
            return;
        }
        const qsizetype taken = command->takesRestOfLine
                                    ? words.size() - next
                                    : std::min<qsizetype>(command->maxArgs, words.size() - next);
        QByteArrayList args = words.mid(next, taken);
        if (command->takesRestOfLine && !args.isEmpty())
            args = {args.join(' ')};
        next += taken;
        const Reply reply = Run(*command, args);
        take(word, command, args, reply);
        if (reply.lacking)
            return;
    }
}

QByteArray RigctlSession::Answer(const QByteArray& line)
{
    // A leading "+" (or ";", "|", ",") asks for answers that name their
    // values, with that character between the items ("+" stands for a line end).
    QByteArray request = line.trimmed();
    char separator = 0;
    if (!request.isEmpty() && QByteArrayLiteral("+;|,").contains(request[0])) {
        separator = request[0] == '+' ? '\n' : request[0];
        request.remove(0, 1);
    }
    QByteArray answer;
    RunLine(request, [&](const QByteArray& word, const Command* command, const QByteArrayList& args,
                     const Reply& reply) {
        answer += reply.lacking ? Unsupported(word, separator) : Format(*command, args, reply, separator);
    });
    return answer;
}

std::optional<RigctlSession::Failure> RigctlSession::CarryOut(const QByteArray& line)
{
    std::optional<Failure> failure;
    RunLine(line, [&](const QByteArray& word, const Command*, const QByteArrayList&, const Reply& reply) {
        if (reply.result != kOk && !failure)
            failure = Failure{word, reply.result};
    });
    // "q" ends nothing here: there is no connection to end.
    quit_ = false;
    return failure;
}

QString RigctlSession::ResultText(int result)
{
    switch (result) {
    case kOk:
        return QStringLiteral("Command completed successfully");
    case kInvalid:
        return QStringLiteral("Invalid parameter");
    case kIoError:
        return QStringLiteral("IO error");
    case kProtocol:
        return QStringLiteral("Protocol error");
    default:
        return QStringLiteral("Function not available");
    }
}

QByteArray RigctlSession::Unsupported(const QByteArray& word, char separator)
{
    const QByteArray report = Report(kNotAvailable);
    if (!separator)
        return report;
    return (word.startsWith('\\') ? word.mid(1) : word) + ':' + separator + report;
}

QByteArray RigctlSession::Format(const Command& command, const QByteArrayList& args,
                                 const Reply& reply, char separator)
{
    const QByteArray report = Report(reply.result);
    const bool isChange = command.labels.isEmpty();
    if (!separator)
        return isChange || reply.result != kOk ? report : reply.values.join('\n') + '\n';
    QByteArray text = QByteArray(command.longName) + ':';
    if (isChange)
        for (const QByteArray& arg : args)
            text += ' ' + arg;
    text += separator;
    if (!isChange && reply.result == kOk) {
        for (qsizetype i = 0; i < reply.values.size(); ++i) {
            const QByteArray& label = command.labels.value(i);
            text += (label.isEmpty() ? QByteArray() : label + ": ") + reply.values[i] + separator;
        }
    }
    return text + report;
}

RigctlSession::Reply RigctlSession::Run(const Command& command, const QByteArrayList& args)
{
    if (args.size() < command.minArgs)
        return {kInvalid, {}};
    if (command.needsRadio && !radio_.LinkUp())
        return {kIoError, {}};
    return (this->*command.run)(args);
}

RigctlSession::Reply RigctlSession::Value(const QByteArray& value)
{
    return {kOk, {value}};
}

RigctlSession::Reply RigctlSession::Flag(const std::optional<bool>& flag)
{
    return flag ? Value(*flag ? "1" : "0") : Reply{kProtocol, {}};
}

bool RigctlSession::Split() const
{
    return state_.split.value_or(false);
}

RigctlSession::Reply RigctlSession::ReadFrequency(Vfo vfo) const
{
    if (vfo == Vfo::B && !state_.vfoBKnown)
        return {kNotAvailable, {}};
    return Value(QByteArray::number(vfo == Vfo::A ? state_.vfoA : state_.vfoB));
}

RigctlSession::Reply RigctlSession::SendFrequency(Vfo vfo, const QByteArray& text)
{
    const std::optional<qint64> hertz = RequestedHertz(text);
    if (!hertz)
        return {kInvalid, {}};
    radio_.SetFrequency(vfo, *hertz);
    return {};
}

RigctlSession::Reply RigctlSession::GetFreq(const QByteArrayList&)
{
    return ReadFrequency(vfo_);
}

RigctlSession::Reply RigctlSession::SetFreq(const QByteArrayList& args)
{
    return SendFrequency(vfo_, args[0]);
}

RigctlSession::Reply RigctlSession::GetSplitFreq(const QByteArrayList&)
{
    return ReadFrequency(Vfo::B);
}

RigctlSession::Reply RigctlSession::SetSplitFreq(const QByteArrayList& args)
{
    return SendFrequency(Vfo::B, args[0]);
}

RigctlSession::Reply RigctlSession::GetMode(const QByteArrayList&)
{
    const QList<RadioMode> modes = radio_.Modes();
    if (modes.isEmpty())
        return {kNotAvailable, {}};
    const auto mode = std::find_if(modes.begin(), modes.end(),
                                   [&](const RadioMode& m) { return m.name == state_.mode; });
    if (mode == modes.end())
        return {kProtocol, {}};
    return {kOk, {mode->name, QByteArray::number(mode->passbandHz)}};
}

RigctlSession::Reply RigctlSession::SetMode(const QByteArrayList& args)
{
    if (radio_.Modes().isEmpty())
        return {kNotAvailable, {}};
    bool isNumber = true;
    const long passband = args.size() > 1 ? args[1].toLong(&isNumber) : kPassbandNormal;
    if (!isNumber || !radio_.SetMode(args[0], passband))
        return {kInvalid, {}};
    return {};
}

std::optional<Vfo> RigctlSession::ParseVfo(const QByteArray& name, Vfo current,
                                                          bool split)
{
    if (name == "VFOA" || name == "Main" || name == "MainA" || name == "RX")
        return Vfo::A;
    if (name == "VFOB" || name == "Sub")
        return Vfo::B;
    if (name == "currVFO" || name == "VFO")
        return current;
    if (name == "TX")
        return split ? Vfo::B : Vfo::A;
    return std::nullopt;
}

QByteArray RigctlSession::VfoName(Vfo vfo)
{
    return vfo == Vfo::A ? QByteArrayLiteral("VFOA") : QByteArrayLiteral("VFOB");
}

RigctlSession::Reply RigctlSession::GetVfo(const QByteArrayList&)
{
    return Value(VfoName(vfo_));
}

RigctlSession::Reply RigctlSession::SetVfo(const QByteArrayList& args)
{
    // The client's own choice of the VFO its frequency commands address; the
    // radio goes on receiving as it does, so the surface's tuning stays on VFO A.
    const auto vfo = ParseVfo(args[0], vfo_, Split());
    if (!vfo)
        return {kInvalid, {}};
    vfo_ = *vfo;
    return {};
}

RigctlSession::Reply RigctlSession::GetPtt(const QByteArrayList&)
{
    return Flag(state_.transmitting);
}

RigctlSession::Reply RigctlSession::SetPtt(const QByteArrayList& args)
{
    // 0 is receive; 1, 2 and 3 (microphone, data) all transmit.
    static const QByteArrayList kStates = {"0", "1", "2", "3"};
    if (!kStates.contains(args[0]))
        return {kInvalid, {}};
    radio_.SetTransmit(args[0] != "0");
    return {};
}

RigctlSession::Reply RigctlSession::GetSplit(const QByteArrayList&)
{
    if (!state_.split)
        return {kProtocol, {}};
    return {kOk, {Split() ? "1" : "0", VfoName(Split() ? Vfo::B : Vfo::A)}};
}

RigctlSession::Reply RigctlSession::SetSplit(const QByteArrayList& args)
{
    if (args[0] != "0" && args[0] != "1")
        return {kInvalid, {}};
    const bool split = args[0] == "1";
    // In split VFO B transmits; the radio cannot transmit on VFO A while split.
    const auto txVfo = args.size() > 1 ? ParseVfo(args[1], vfo_, split) : Vfo::B;
    if (split && txVfo != Vfo::B)
        return {kInvalid, {}};
    radio_.SetSplit(split);
    return {};
}

RigctlSession::Reply RigctlSession::Done(bool carriedOut)
{
    return carriedOut ? Reply{} : Reply{kNotAvailable, {}, true};
}

RigctlSession::Reply RigctlSession::SetRit(const QByteArrayList& args)
{
    bool isNumber = false;
    const int hertz = args[0].toInt(&isNumber);
    return isNumber ? Done(radio_.SetRit(hertz)) : Reply{kInvalid, {}};
}

RigctlSession::Reply RigctlSession::SetXit(const QByteArrayList& args)
{
    bool isNumber = false;
    const int hertz = args[0].toInt(&isNumber);
    return isNumber ? Done(radio_.SetXit(hertz)) : Reply{kInvalid, {}};
}

RigctlSession::Reply RigctlSession::SetFunction(const QByteArrayList& args)
{
    bool isNumber = false;
    const int status = args[1].toInt(&isNumber);
    return isNumber ? Done(radio_.SetFunction(args[0], status != 0)) : Reply{kInvalid, {}};
}

RigctlSession::Reply RigctlSession::SetLevel(const QByteArrayList& args)
{
    bool isNumber = false;
    const double value = args[1].toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return {kInvalid, {}};
    return Done(radio_.SetLevel(args[0], value));
}

RigctlSession::Reply RigctlSession::RunVfoOperation(const QByteArrayList& args)
{
    return Done(radio_.RunVfoOperation(args[0]));
}

RigctlSession::Reply RigctlSession::SendText(const QByteArrayList& args)
{
    radio_.SendText(QString::fromLatin1(args[0]));
    return {};
}

RigctlSession::Reply RigctlSession::GetInfo(const QByteArrayList&)
{
    return Value("Vorn-MIDI Connector, " + options_.rigType.toLatin1());
}

RigctlSession::Reply RigctlSession::GetPowerStat(const QByteArrayList&)
{
    return Value("1");
}

RigctlSession::Reply RigctlSession::CheckVfo(const QByteArrayList&)
{
    // Commands carry no VFO argument.
    return Value("0");
}

RigctlSession::Reply RigctlSession::GetLockMode(const QByteArrayList&)
{
    // Hamlib clients ask before every mode change; modes are never locked here.
    return Value("0");
}

RigctlSession::Reply RigctlSession::DumpState(const QByteArrayList&)
{
    return Value(RigCapabilities::DumpState(radio_.Modes()).chopped(1));
}

RigctlSession::Reply RigctlSession::Quit(const QByteArrayList&)
{
    quit_ = true;
    return {};
}
