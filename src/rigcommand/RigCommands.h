#pragma once

#include "core/IRadio.h"
#include "rigcommand/RigResult.h"

#include <QByteArray>
#include <QByteArrayList>

#include <functional>
#include <optional>
#include <vector>

struct Options;

// rigctl's command language, as Hamlib's rigctl and rigctld speak it: the
// command table, the reading of a line into commands and their arguments,
// and each command carried out on the radio. Reads come from the radio's
// state, so they put nothing on its line; changes go to the radio, which
// moves its state at once (as a wheel step does), so the next read and the
// next wheel step build on them. While the radio does not answer, every
// command for the radio gets Hamlib's I/O error. Each user of the language
// (a network client, the key map) keeps the VFO it chose. How the answers are
// written is the protocol's (RigctlSession). UI thread only.
class RigCommands {
public:
    struct Reply {
        int result = RigResult::kOk;
        QByteArrayList values;
        // Answered as an unknown command: the radio does not have it.
        bool lacking = false;
        // The client asked to end the connection ("q").
        bool endsSession = false;
    };
    struct Command {
        char shortName;        // 0: reached by its long name only
        const char* longName;
        int maxArgs;
        int minArgs;
        bool takesRestOfLine;  // its one argument is the rest of the line, spaces and all
        bool needsRadio;       // answered with an I/O error while the radio does not answer
        // Names of the values in extended answers; none for a command that
        // changes something, an empty one for a value shown as it stands.
        QByteArrayList labels;
        Reply (*run)(RigCommands& commands, const QByteArrayList& args);

        bool IsChange() const { return labels.isEmpty(); }
    };
    // One command of a line as it was carried out; `command` is null for a word that is none.
    struct Step {
        QByteArray word;
        const Command* command;
        QByteArrayList args;
        Reply reply;
    };
    // The first command of a line that was not carried out, and its result.
    struct Failure {
        QByteArray command;
        int result = RigResult::kOk;
    };

    RigCommands(IRadio& radio, const Options& options);

    // Carries out the commands of `line` in turn and hands each, as carried
    // out, to `take`. An unknown command, one the radio does not have and
    // one that ends the session end the line.
    void Run(const QByteArray& line, const std::function<void(const Step& step)>& take);
    // Carries out `line`; the first command that failed, none when all went well.
    std::optional<Failure> CarryOut(const QByteArray& line);

private:
    static const Command* Find(const QByteArray& word);
    Reply Run(const Command& command, const QByteArrayList& args);

    Reply GetMode() const;
    Reply SetMode(const QByteArrayList& args);
    Reply SetVfo(const QByteArray& name);
    Reply SetPtt(const QByteArray& state);
    Reply GetSplit() const;
    Reply SetSplit(const QByteArrayList& args);
    Reply SetOffset(const QByteArray& hertz, bool (IRadio::*set)(int));
    Reply SetFunction(const QByteArrayList& args);
    Reply GetLevel(const QByteArray& name) const;
    Reply SetLevel(const QByteArrayList& args);
    Reply ReadFrequency(Vfo vfo) const;
    Reply SendFrequency(Vfo vfo, const QByteArray& hertz);
    const RadioState& State() const { return radio_.State(); }

    IRadio& radio_;
    const Options& options_;
    Vfo vfo_ = Vfo::A;
};
