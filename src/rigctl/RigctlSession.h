#pragma once

#include "core/IRadio.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <optional>

struct Options;
struct RadioState;

// One client's conversation in the protocol of Hamlib's rigctld: a request
// line in, the answer out. Reads come from the radio state the poll keeps, so
// they put nothing on the radio's line; changes go to the radio, which moves
// the state's copy at once (as a wheel step does), so the next read and the
// next wheel step build on them. While the radio does not answer every radio
// command is answered with Hamlib's I/O error. Each session keeps the VFO its
// client chose. UI thread only.
class RigctlSession {
public:
    // Hamlib's result codes, sent as "RPRT <code>".
    static constexpr int kOk = 0;
    static constexpr int kInvalid = -1;
    static constexpr int kIoError = -6;
    static constexpr int kProtocol = -8;
    static constexpr int kNotAvailable = -11;

    RigctlSession(IRadio& radio, const RadioState& state, const Options& options);

    // The first command of a line that was not carried out, and its result.
    struct Failure {
        QByteArray command;
        int result = kOk;
    };

    // `line` is one request without its line end, possibly several commands
    // with their arguments. Returns their answers, each ending with a line end;
    // an unknown command, or one the radio does not have, ends the line. An
    // empty line gets no answer.
    QByteArray Answer(const QByteArray& line);
    // Carries out the commands of `line` as Answer does; the result of the
    // first that failed, none when all went well.
    std::optional<Failure> CarryOut(const QByteArray& line);
    // Hamlib's text for a result code ("Invalid parameter").
    static QString ResultText(int result);
    // Whether the client asked to end the connection ("q").
    bool quitRequested() const { return quit_; }

private:
    struct Reply {
        int result = kOk;
        QByteArrayList values;
        // Answered as an unknown command: the radio does not have it.
        bool lacking = false;
    };
    struct Command;
    // Runs each command of `line` in turn and hands it, with its arguments and
    // reply, to `take`; a null command is an unknown word, which ends the line.
    template <typename Take>
    void RunLine(const QByteArray& line, Take take);
    static const Command* Find(const QByteArray& word);
    // The answer to a command this server does not carry out.
    static QByteArray Unsupported(const QByteArray& word, char separator);
    static QByteArray Format(const Command& command, const QByteArrayList& args, const Reply& reply,
                             char separator);

    Reply Run(const Command& command, const QByteArrayList& args);
    Reply GetFreq(const QByteArrayList& args);
    Reply SetFreq(const QByteArrayList& args);
    Reply GetMode(const QByteArrayList& args);
    Reply SetMode(const QByteArrayList& args);
    Reply GetVfo(const QByteArrayList& args);
    Reply SetVfo(const QByteArrayList& args);
    Reply GetPtt(const QByteArrayList& args);
    Reply SetPtt(const QByteArrayList& args);
    Reply GetSplit(const QByteArrayList& args);
    Reply SetSplit(const QByteArrayList& args);
    Reply GetSplitFreq(const QByteArrayList& args);
    Reply SetSplitFreq(const QByteArrayList& args);
    Reply GetInfo(const QByteArrayList& args);
    Reply SetRit(const QByteArrayList& args);
    Reply SetXit(const QByteArrayList& args);
    Reply SetFunction(const QByteArrayList& args);
    Reply SetLevel(const QByteArrayList& args);
    Reply RunVfoOperation(const QByteArrayList& args);
    Reply SendText(const QByteArrayList& args);
    Reply GetPowerStat(const QByteArrayList& args);
    Reply CheckVfo(const QByteArrayList& args);
    Reply GetLockMode(const QByteArrayList& args);
    Reply DumpState(const QByteArrayList& args);
    Reply Quit(const QByteArrayList& args);

    Reply ReadFrequency(Vfo vfo) const;
    Reply SendFrequency(Vfo vfo, const QByteArray& hertz);
    static Reply Value(const QByteArray& value);
    static Reply Flag(const std::optional<bool>& flag);
    static Reply Done(bool carriedOut);
    static std::optional<Vfo> ParseVfo(const QByteArray& name, Vfo current, bool split);
    static QByteArray VfoName(Vfo vfo);
    bool Split() const;

    IRadio& radio_;
    const RadioState& state_;
    const Options& options_;
    Vfo vfo_ = Vfo::A;
    bool quit_ = false;
};
