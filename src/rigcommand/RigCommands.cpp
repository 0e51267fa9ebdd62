#include "rigcommand/RigCommands.h"

#include "core/Options.h"
#include "rigcommand/RigCapabilities.h"

#include <algorithm>
#include <cmath>

namespace {
// Hamlib's "normal" passband; "no change" is -1.
constexpr long kPassbandNormal = 0;

// A client's frequency ("7074000", "7074000.000000") in whole hertz.
std::optional<qint64> RequestedHertz(const QByteArray& text)
{
    bool isNumber = false;
    const double hertz = text.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(hertz) || hertz < 1.0 || hertz > double(kHighestFrequencyHz))
        return std::nullopt;
    return std::llround(hertz);
}

RigCommands::Reply Value(const QByteArray& value)
{
    return {RigResult::kOk, {value}};
}

RigCommands::Reply Flag(const std::optional<bool>& flag)
{
    return flag ? Value(*flag ? "1" : "0") : RigCommands::Reply{RigResult::kProtocol, {}};
}

RigCommands::Reply Invalid()
{
    return {RigResult::kInvalid, {}};
}

// Carried out, or answered as an unknown command where the radio lacks it.
RigCommands::Reply Done(bool carriedOut)
{
    return carriedOut ? RigCommands::Reply{} : RigCommands::Reply{RigResult::kNotAvailable, {}, true};
}

std::optional<Vfo> ParseVfo(const QByteArray& name, Vfo current, bool split)
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

QByteArray VfoName(Vfo vfo)
{
    return vfo == Vfo::A ? QByteArrayLiteral("VFOA") : QByteArrayLiteral("VFOB");
}

std::optional<int> Integer(const QByteArray& text)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    return isNumber ? std::optional<int>(value) : std::nullopt;
}
} // namespace

const RigCommands::Command* RigCommands::Find(const QByteArray& word)
{
    static const Command commands[] = {
        {'f', "get_freq", 0, 0, false, true, {"Frequency"}, &RigCommands::GetFreq},
        {'F', "set_freq", 1, 1, false, true, {}, &RigCommands::SetFreq},
        {'m', "get_mode", 0, 0, false, true, {"Mode", "Passband"}, &RigCommands::GetMode},
        {'M', "set_mode", 2, 1, false, true, {}, &RigCommands::SetMode},
        {'v', "get_vfo", 0, 0, false, false, {"VFO"}, &RigCommands::GetVfo},
        {'V', "set_vfo", 1, 1, false, false, {}, &RigCommands::SetVfo},
        {'t', "get_ptt", 0, 0, false, true, {"PTT"}, &RigCommands::GetPtt},
        {'T', "set_ptt", 1, 1, false, true, {}, &RigCommands::SetPtt},
        {'s', "get_split_vfo", 0, 0, false, true, {"Split", "TX VFO"}, &RigCommands::GetSplit},
        {'S', "set_split_vfo", 2, 1, false, true, {}, &RigCommands::SetSplit},
        {'i', "get_split_freq", 0, 0, false, true, {"TX Frequency"}, &RigCommands::GetSplitFreq},
        {'I', "set_split_freq", 1, 1, false, true, {}, &RigCommands::SetSplitFreq},
        {'_', "get_info", 0, 0, false, false, {"Info"}, &RigCommands::GetInfo},
        {'J', "set_rit", 1, 1, false, true, {}, &RigCommands::SetRit},
        {'Z', "set_xit", 1, 1, false, true, {}, &RigCommands::SetXit},
        {'u', "get_func", 1, 1, false, true, {"Func Status"}, &RigCommands::GetFunction},
        {'U', "set_func", 2, 2, false, true, {}, &RigCommands::SetFunction},
        {'l', "get_level", 1, 1, false, true, {"Level Value"}, &RigCommands::GetLevel},
        {'L', "set_level", 2, 2, false, true, {}, &RigCommands::SetLevel},
        {'G', "vfo_op", 1, 1, false, true, {}, &RigCommands::RunVfoOperation},
        {'w', "send_cmd", 1, 1, true, true, {}, &RigCommands::SendText},
        {0, "get_powerstat", 0, 0, false, true, {"Power Status"}, &RigCommands::GetPowerStat},
        {0, "chk_vfo", 0, 0, false, false, {"ChkVFO"}, &RigCommands::CheckVfo},
        {0, "get_lock_mode", 0, 0, false, false, {"Locked"}, &RigCommands::GetLockMode},
        {0, "dump_state", 0, 0, false, false, {""}, &RigCommands::DumpState},
        {'q', "quit", 0, 0, false, false, {}, &RigCommands::Quit},
        {'Q', "quit", 0, 0, false, false, {}, &RigCommands::Quit},
    };
    const bool longName = word.size() > 1 && word.startsWith('\\');
    for (const Command& command : commands) {
        if (longName ? word.mid(1) == command.longName
                     : word.size() == 1 && command.shortName && word[0] == command.shortName)
            return &command;
    }
    return nullptr;
}

RigCommands::RigCommands(IRadio& radio, const Options& options) : radio_(radio), options_(options)
{
}

void RigCommands::Run(const QByteArray& line, const std::function<void(const Step& step)>& take)
{
    const QByteArrayList words = line.simplified().split(' ');
    for (qsizetype next = 0; next < words.size() && !words[next].isEmpty();) {
        const QByteArray& word = words[next++];
        const Command* command = Find(word);
        if (!command) {
            take({word, nullptr, {}, Reply{RigResult::kNotAvailable, {}, true}});
            return;
        }
        const qsizetype taken = command->takesRestOfLine ? words.size() - next
                                                         : std::min<qsizetype>(command->maxArgs, words.size() - next);
        QByteArrayList args = words.mid(next, taken);
        if (command->takesRestOfLine && !args.isEmpty())
            args = {args.join(' ')};
        next += taken;
        const Reply reply = Run(*command, args);
        take({word, command, args, reply});
        if (reply.lacking || reply.endsSession)
            return;
    }
}

std::optional<RigCommands::Failure> RigCommands::CarryOut(const QByteArray& line)
{
    std::optional<Failure> failure;
    Run(line, [&](const Step& step) {
        if (step.reply.result != RigResult::kOk && !failure)
            failure = Failure{step.word, step.reply.result};
    });
    return failure;
}

RigCommands::Reply RigCommands::Run(const Command& command, const QByteArrayList& args)
{
    if (args.size() < command.minArgs)
        return Invalid();
    if (command.needsRadio && !State().answering)
        return {RigResult::kIoError, {}};
    return (this->*command.run)(args);
}

RigCommands::Reply RigCommands::ReadFrequency(Vfo vfo) const
{
    if (vfo == Vfo::B && !State().vfoBKnown)
        return {RigResult::kNotAvailable, {}};
    return Value(QByteArray::number(vfo == Vfo::A ? State().vfoA : State().vfoB));
}

RigCommands::Reply RigCommands::SendFrequency(Vfo vfo, const QByteArray& text)
{
    const std::optional<qint64> hertz = RequestedHertz(text);
    if (!hertz)
        return Invalid();
    radio_.SetFrequency(vfo, *hertz);
    return {};
}

RigCommands::Reply RigCommands::GetFreq(const QByteArrayList&)
{
    return ReadFrequency(vfo_);
}

RigCommands::Reply RigCommands::SetFreq(const QByteArrayList& args)
{
    return SendFrequency(vfo_, args[0]);
}

RigCommands::Reply RigCommands::GetSplitFreq(const QByteArrayList&)
{
    return ReadFrequency(Vfo::B);
}

RigCommands::Reply RigCommands::SetSplitFreq(const QByteArrayList& args)
{
    return SendFrequency(Vfo::B, args[0]);
}

RigCommands::Reply RigCommands::GetMode(const QByteArrayList&)
{
    const QList<RadioMode> modes = radio_.Modes();
    if (modes.isEmpty())
        return {RigResult::kNotAvailable, {}};
    const auto mode = std::find_if(modes.begin(), modes.end(), [&](const RadioMode& m) { return m.name == State().mode; });
    if (mode == modes.end())
        return {RigResult::kProtocol, {}};
    return {RigResult::kOk, {mode->name, QByteArray::number(mode->passbandHz)}};
}

RigCommands::Reply RigCommands::SetMode(const QByteArrayList& args)
{
    if (radio_.Modes().isEmpty())
        return {RigResult::kNotAvailable, {}};
    bool isNumber = true;
    const long passband = args.size() > 1 ? args[1].toLong(&isNumber) : kPassbandNormal;
    if (!isNumber || !radio_.SetMode(args[0], passband))
        return Invalid();
    return {};
}

RigCommands::Reply RigCommands::GetVfo(const QByteArrayList&)
{
    return Value(VfoName(vfo_));
}

RigCommands::Reply RigCommands::SetVfo(const QByteArrayList& args)
{
    // The client's own choice of the VFO its frequency commands address; the
    // radio goes on receiving as it does, so the surface's tuning stays on VFO A.
    const std::optional<Vfo> vfo = ParseVfo(args[0], vfo_, State().split.value_or(false));
    if (!vfo)
        return Invalid();
    vfo_ = *vfo;
    return {};
}

RigCommands::Reply RigCommands::GetPtt(const QByteArrayList&)
{
    return Flag(State().transmitting);
}

RigCommands::Reply RigCommands::SetPtt(const QByteArrayList& args)
{
    // 0 is receive; 1, 2 and 3 (microphone, data) all transmit.
    static const QByteArrayList kStates = {"0", "1", "2", "3"};
    if (!kStates.contains(args[0]))
        return Invalid();
    radio_.SetTransmit(args[0] != "0");
    return {};
}

RigCommands::Reply RigCommands::GetSplit(const QByteArrayList&)
{
    const std::optional<bool> split = State().split;
    if (!split)
        return {RigResult::kProtocol, {}};
    return {RigResult::kOk, {*split ? "1" : "0", VfoName(*split ? Vfo::B : Vfo::A)}};
}

RigCommands::Reply RigCommands::SetSplit(const QByteArrayList& args)
{
    if (args[0] != "0" && args[0] != "1")
        return Invalid();
    const bool split = args[0] == "1";
    // In split VFO B transmits; the radio cannot transmit on VFO A while split.
    const std::optional<Vfo> txVfo = args.size() > 1 ? ParseVfo(args[1], vfo_, split) : Vfo::B;
    if (split && txVfo != Vfo::B)
        return Invalid();
    radio_.SetSplit(split);
    return {};
}

RigCommands::Reply RigCommands::SetRit(const QByteArrayList& args)
{
    const std::optional<int> hertz = Integer(args[0]);
    return hertz ? Done(radio_.SetRit(*hertz)) : Invalid();
}

RigCommands::Reply RigCommands::SetXit(const QByteArrayList& args)
{
    const std::optional<int> hertz = Integer(args[0]);
    return hertz ? Done(radio_.SetXit(*hertz)) : Invalid();
}

RigCommands::Reply RigCommands::GetFunction(const QByteArrayList& args)
{
    if (!radio_.Abilities().functions.contains(args[0]))
        return Done(false);
    if (args[0] == "RIT")
        return Flag(State().rit);
    if (args[0] == "XIT")
        return Flag(State().xit);
    const auto function = State().functions.find(args[0]);
    return Flag(function == State().functions.end() ? std::nullopt : std::optional<bool>(*function));
}

RigCommands::Reply RigCommands::SetFunction(const QByteArrayList& args)
{
    const std::optional<int> status = Integer(args[1]);
    return status ? Done(radio_.SetFunction(args[0], *status != 0)) : Invalid();
}

RigCommands::Reply RigCommands::GetLevel(const QByteArrayList& args)
{
    if (!radio_.Abilities().levels.contains(args[0]))
        return Done(false);
    const auto level = State().levels.find(args[0]);
    if (level == State().levels.end())
        return {RigResult::kProtocol, {}};
    return Value(RigCapabilities::LevelText(args[0], *level));
}

RigCommands::Reply RigCommands::SetLevel(const QByteArrayList& args)
{
    bool isNumber = false;
    const double value = args[1].toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return Invalid();
    return Done(radio_.SetLevel(args[0], value));
}

RigCommands::Reply RigCommands::RunVfoOperation(const QByteArrayList& args)
{
    return Done(radio_.RunVfoOperation(args[0]));
}

RigCommands::Reply RigCommands::SendText(const QByteArrayList& args)
{
    radio_.SendText(QString::fromLatin1(args[0]));
    return {};
}

RigCommands::Reply RigCommands::GetInfo(const QByteArrayList&)
{
    return Value("Vorn-MIDI Connector, " + options_.Text(Options::Key::RigType).toLatin1());
}

RigCommands::Reply RigCommands::GetPowerStat(const QByteArrayList&)
{
    return Value("1");
}

RigCommands::Reply RigCommands::CheckVfo(const QByteArrayList&)
{
    // Commands carry no VFO argument.
    return Value("0");
}

RigCommands::Reply RigCommands::GetLockMode(const QByteArrayList&)
{
    // Hamlib clients ask before every mode change; modes are never locked here.
    return Value("0");
}

RigCommands::Reply RigCommands::DumpState(const QByteArrayList&)
{
    return Value(RigCapabilities::DumpState(radio_.Modes(), radio_.Abilities()).chopped(1));
}

RigCommands::Reply RigCommands::Quit(const QByteArrayList&)
{
    return {RigResult::kOk, {}, false, true};
}
