#include "rigcommand/RigCommands.h"

#include "core/Options.h"
#include "rigcommand/RigCapabilities.h"

#include <algorithm>
#include <cmath>

namespace {
using Reply = RigCommands::Reply;
using Args = QByteArrayList;

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

Reply Value(const QByteArray& value)
{
    return {RigResult::kOk, {value}};
}

Reply Flag(const std::optional<bool>& flag)
{
    return flag ? Value(*flag ? "1" : "0") : Reply{RigResult::kProtocol, {}};
}

Reply Failed(int result)
{
    return {result, {}};
}

// Carried out, or answered as an unknown command where the radio lacks it.
Reply Done(bool carriedOut)
{
    return carriedOut ? Reply{} : Reply{RigResult::kNotAvailable, {}, true};
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
    using C = RigCommands;
    static const Command commands[] = {
        {'f', "get_freq", 0, 0, false, true, {"Frequency"}, [](C& c, const Args&) { return c.ReadFrequency(c.vfo_); }},
        {'F', "set_freq", 1, 1, false, true, {}, [](C& c, const Args& a) { return c.SendFrequency(c.vfo_, a[0]); }},
        {'m', "get_mode", 0, 0, false, true, {"Mode", "Passband"}, [](C& c, const Args&) { return c.GetMode(); }},
        {'M', "set_mode", 2, 1, false, true, {}, [](C& c, const Args& a) { return c.SetMode(a); }},
        {'v', "get_vfo", 0, 0, false, false, {"VFO"}, [](C& c, const Args&) { return Value(VfoName(c.vfo_)); }},
        {'V', "set_vfo", 1, 1, false, false, {}, [](C& c, const Args& a) { return c.SetVfo(a[0]); }},
        {'t', "get_ptt", 0, 0, false, true, {"PTT"}, [](C& c, const Args&) { return Flag(c.State().transmitting); }},
        {'T', "set_ptt", 1, 1, false, true, {}, [](C& c, const Args& a) { return c.SetPtt(a[0]); }},
        {'s', "get_split_vfo", 0, 0, false, true, {"Split", "TX VFO"}, [](C& c, const Args&) { return c.GetSplit(); }},
        {'S', "set_split_vfo", 2, 1, false, true, {}, [](C& c, const Args& a) { return c.SetSplit(a); }},
        {'i', "get_split_freq", 0, 0, false, true, {"TX Frequency"},
         [](C& c, const Args&) { return c.ReadFrequency(Vfo::B); }},
        {'I', "set_split_freq", 1, 1, false, true, {}, [](C& c, const Args& a) { return c.SendFrequency(Vfo::B, a[0]); }},
        {'_', "get_info", 0, 0, false, false, {"Info"},
         [](C& c, const Args&) {
             return Value("Vorn-MIDI Connector, " + c.options_.Text(Options::Key::RigType).toLatin1());
         }},
        {'J', "set_rit", 1, 1, false, true, {}, [](C& c, const Args& a) { return c.SetOffset(a[0], &IRadio::SetRit); }},
        {'Z', "set_xit", 1, 1, false, true, {}, [](C& c, const Args& a) { return c.SetOffset(a[0], &IRadio::SetXit); }},
        {'u', "get_func", 1, 1, false, true, {"Func Status"},
         [](C& c, const Args& a) {
             return c.radio_.Abilities().functions.contains(a[0]) ? Flag(c.State().Function(a[0])) : Done(false);
         }},
        {'U', "set_func", 2, 2, false, true, {}, [](C& c, const Args& a) { return c.SetFunction(a); }},
        {'l', "get_level", 1, 1, false, true, {"Level Value"}, [](C& c, const Args& a) { return c.GetLevel(a[0]); }},
        {'L', "set_level", 2, 2, false, true, {}, [](C& c, const Args& a) { return c.SetLevel(a); }},
        {'G', "vfo_op", 1, 1, false, true, {}, [](C& c, const Args& a) { return Done(c.radio_.RunVfoOperation(a[0])); }},
        {'w', "send_cmd", 1, 1, true, true, {},
         [](C& c, const Args& a) {
             c.radio_.SendText(QString::fromLatin1(a[0]));
             return Reply{};
         }},
        {0, "get_powerstat", 0, 0, false, true, {"Power Status"}, [](C&, const Args&) { return Value("1"); }},
        // Commands carry no VFO argument; modes are never locked here (Hamlib
        // clients ask before every mode change).
        {0, "chk_vfo", 0, 0, false, false, {"ChkVFO"}, [](C&, const Args&) { return Value("0"); }},
        {0, "get_lock_mode", 0, 0, false, false, {"Locked"}, [](C&, const Args&) { return Value("0"); }},
        {0, "dump_state", 0, 0, false, false, {""},
         [](C& c, const Args&) {
             return Value(RigCapabilities::DumpState(c.radio_.Modes(), c.radio_.Abilities()).chopped(1));
         }},
        {'q', "quit", 0, 0, false, false, {}, [](C&, const Args&) { return Reply{RigResult::kOk, {}, false, true}; }},
        {'Q', "quit", 0, 0, false, false, {}, [](C&, const Args&) { return Reply{RigResult::kOk, {}, false, true}; }},
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

Reply RigCommands::Run(const Command& command, const QByteArrayList& args)
{
    if (args.size() < command.minArgs)
        return Failed(RigResult::kInvalid);
    if (command.needsRadio && !State().answering)
        return Failed(RigResult::kIoError);
    return command.run(*this, args);
}

Reply RigCommands::ReadFrequency(Vfo vfo) const
{
    if (vfo == Vfo::B && !State().vfoBKnown)
        return Failed(RigResult::kNotAvailable);
    return Value(QByteArray::number(vfo == Vfo::A ? State().vfoA : State().vfoB));
}

Reply RigCommands::SendFrequency(Vfo vfo, const QByteArray& text)
{
    const std::optional<qint64> hertz = RequestedHertz(text);
    if (!hertz)
        return Failed(RigResult::kInvalid);
    radio_.SetFrequency(vfo, *hertz);
    return {};
}

Reply RigCommands::GetMode() const
{
    const QList<RadioMode> modes = radio_.Modes();
    if (modes.isEmpty())
        return Failed(RigResult::kNotAvailable);
    const auto mode = std::find_if(modes.begin(), modes.end(), [&](const RadioMode& m) { return m.name == State().mode; });
    if (mode == modes.end())
        return Failed(RigResult::kProtocol);
    return {RigResult::kOk, {mode->name, QByteArray::number(mode->passbandHz)}};
}

Reply RigCommands::SetMode(const QByteArrayList& args)
{
    if (radio_.Modes().isEmpty())
        return Failed(RigResult::kNotAvailable);
    bool isNumber = true;
    const long passband = args.size() > 1 ? args[1].toLong(&isNumber) : kPassbandNormal;
    if (!isNumber || !radio_.SetMode(args[0], passband))
        return Failed(RigResult::kInvalid);
    return {};
}

Reply RigCommands::SetVfo(const QByteArray& name)
{
    // The client's own choice of the VFO its frequency commands address; the
    // radio goes on receiving as it does, so the surface's tuning stays on VFO A.
    const std::optional<Vfo> vfo = ParseVfo(name, vfo_, State().split.value_or(false));
    if (!vfo)
        return Failed(RigResult::kInvalid);
    vfo_ = *vfo;
    return {};
}

Reply RigCommands::SetPtt(const QByteArray& state)
{
    // 0 is receive; 1, 2 and 3 (microphone, data) all transmit.
    static const QByteArrayList kStates = {"0", "1", "2", "3"};
    if (!kStates.contains(state))
        return Failed(RigResult::kInvalid);
    radio_.SetTransmit(state != "0");
    return {};
}

Reply RigCommands::GetSplit() const
{
    const std::optional<bool> split = State().split;
    if (!split)
        return Failed(RigResult::kProtocol);
    return {RigResult::kOk, {*split ? "1" : "0", VfoName(*split ? Vfo::B : Vfo::A)}};
}

Reply RigCommands::SetSplit(const QByteArrayList& args)
{
    if (args[0] != "0" && args[0] != "1")
        return Failed(RigResult::kInvalid);
    const bool split = args[0] == "1";
    // In split VFO B transmits; the radio cannot transmit on VFO A while split.
    const std::optional<Vfo> txVfo = args.size() > 1 ? ParseVfo(args[1], vfo_, split) : Vfo::B;
    if (split && txVfo != Vfo::B)
        return Failed(RigResult::kInvalid);
    radio_.SetSplit(split);
    return {};
}

Reply RigCommands::SetOffset(const QByteArray& hertz, bool (IRadio::*set)(int))
{
    const std::optional<int> value = Integer(hertz);
    return value ? Done((radio_.*set)(*value)) : Failed(RigResult::kInvalid);
}

Reply RigCommands::SetFunction(const QByteArrayList& args)
{
    const std::optional<int> status = Integer(args[1]);
    return status ? Done(radio_.SetFunction(args[0], *status != 0)) : Failed(RigResult::kInvalid);
}

Reply RigCommands::GetLevel(const QByteArray& name) const
{
    if (!radio_.Abilities().levels.contains(name))
        return Done(false);
    const auto level = State().levels.find(name);
    if (level == State().levels.end())
        return Failed(RigResult::kProtocol);
    return Value(RigCapabilities::LevelText(name, *level));
}

Reply RigCommands::SetLevel(const QByteArrayList& args)
{
    bool isNumber = false;
    const double value = args[1].toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return Failed(RigResult::kInvalid);
    return Done(radio_.SetLevel(args[0], value));
}
