#pragma once

#include "rigcommand/RigCommands.h"

#include <QByteArray>

class IRadio;
struct Options;

// One client's conversation in the protocol of Hamlib's rigctld: a request
// line in, the answer out. The commands are rigctl's (RigCommands); this
// writes their answers as rigctld does: the values alone, a line each, or
// "RPRT <code>" for a change or a failure; after a leading "+" (or ";", "|",
// ",") answers that name their values, with that character between the
// items. "q" ends the conversation. UI thread only.
class RigctlSession {
public:
    RigctlSession(IRadio& radio, const Options& options);

    // `line` is one request without its line end, possibly several commands
    // with their arguments. Returns their answers, each ending with a line
    // end; an unknown command, or one the radio does not have, ends the
    // line. An empty line gets no answer.
    QByteArray Answer(const QByteArray& line);
    // Whether the client asked to end the connection ("q").
    bool quitRequested() const { return quit_; }

private:
    static QByteArray Format(const RigCommands::Step& step, char separator);
    static QByteArray Unsupported(const QByteArray& word, char separator);

    RigCommands commands_;
    bool quit_ = false;
};
