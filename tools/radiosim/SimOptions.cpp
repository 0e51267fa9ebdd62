#include "SimOptions.h"

#include <QCommandLineParser>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {
bool ReadInt(const QCommandLineParser& parser, const QString& name, int min, int& value,
             QString& error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < min) {
        error = QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(min);
        return false;
    }
    value = number;
    return true;
}

bool ReadFrequency(const QCommandLineParser& parser, const QString& name, QByteArray& value,
                   QString& error)
{
    if (!parser.isSet(name))
        return true;
    const QString text = parser.value(name);
    if (!QRegularExpression(QStringLiteral("^-?[0-9]{11,}$")).match(text).hasMatch()) {
        error = QStringLiteral("--%1 needs eleven digits of hertz").arg(name);
        return false;
    }
    value = text.toLatin1();
    return true;
}
}

bool SimOptions::Parse(const QStringList& arguments, SimOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated K3-style transceiver on a pseudo-terminal or a TCP port. Prints the "
        "terminal's path (or tcp://127.0.0.1:<port>) on the first line of standard output."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("link"), QStringLiteral("Also reach the terminal through a symlink at <path>."), QStringLiteral("path")},
        {QStringLiteral("log"), QStringLiteral("Write one line per command received: epoch milliseconds, blank, command."), QStringLiteral("file")},
        {QStringLiteral("baud"), QStringLiteral("The line's rate: replies are paced at <n> bit/s, 10 bits a character; 0 = no pacing (default 38400). "
                                                "The program must set its port to this rate (38400 for 0)."), QStringLiteral("n")},
        {QStringLiteral("paced"), QStringLiteral("Pace the commands, too: each is taken once its last character has crossed the line.")},
        {QStringLiteral("noise-burst"), QStringLiteral("After the <n>-th command, 0.3 s of line noise; what the radio says meanwhile is lost."), QStringLiteral("n")},
        {QStringLiteral("tcp"), QStringLiteral("Offer the line on 127.0.0.1:<port> over TCP instead of a terminal (0: a free port)."), QStringLiteral("port")},
        {QStringLiteral("latency"), QStringLiteral("Start each reply <ms> after its command."), QStringLiteral("ms")},
        {QStringLiteral("split"), QStringLiteral("Split each reply at a random point with a short gap.")},
        {QStringLiteral("silent"), QStringLiteral("Take commands but never answer.")},
        {QStringLiteral("garbage"), QStringLiteral("Put random line noise in front of each reply.")},
        {QStringLiteral("flood"), QStringLiteral("Send status replies without end, as fast as the line allows.")},
        {QStringLiteral("no-vfo-b"), QStringLiteral("Reject FB commands with ?; like a radio without VFO B.")},
        {QStringLiteral("freq-a"), QStringLiteral("Initial VFO A frequency, eleven digits."), QStringLiteral("hz")},
        {QStringLiteral("freq-b"), QStringLiteral("Initial VFO B frequency, eleven digits."), QStringLiteral("hz")},
        {QStringLiteral("mode"), QStringLiteral("Initial mode digit 1-9."), QStringLiteral("n")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the random splits and noise."), QStringLiteral("n")},
        {QStringLiteral("stdin-exit"), QStringLiteral("Exit when standard input closes.")},
        {QStringLiteral("panel"), QStringLiteral("Show the radio's front panel in a window (needs a display; "
                                                 "-geometry +X+Y places it).")},
    });
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        error = parser.helpText();
        return false;
    }
    options.linkPath = parser.value(QStringLiteral("link"));
    options.logPath = parser.value(QStringLiteral("log"));
    options.split = parser.isSet(QStringLiteral("split"));
    options.silent = parser.isSet(QStringLiteral("silent"));
    options.garbage = parser.isSet(QStringLiteral("garbage"));
    options.flood = parser.isSet(QStringLiteral("flood"));
    options.paced = parser.isSet(QStringLiteral("paced"));
    options.stdinExit = parser.isSet(QStringLiteral("stdin-exit"));
    options.panel = parser.isSet(QStringLiteral("panel"));
    options.radio.hasVfoB = !parser.isSet(QStringLiteral("no-vfo-b"));
    int seed = int(QRandomGenerator::global()->bounded(1 << 30));
    if (!ReadInt(parser, QStringLiteral("baud"), 0, options.baud, error)
        || !ReadInt(parser, QStringLiteral("latency"), 0, options.latencyMs, error)
        || !ReadInt(parser, QStringLiteral("seed"), 0, seed, error)
        || !ReadInt(parser, QStringLiteral("noise-burst"), 1, options.noiseBurstAfter, error)
        || !ReadInt(parser, QStringLiteral("tcp"), 0, options.tcpPort, error)
        || !ReadFrequency(parser, QStringLiteral("freq-a"), options.radio.freqA, error)
        || !ReadFrequency(parser, QStringLiteral("freq-b"), options.radio.freqB, error))
        return false;
    options.seed = quint32(seed);
    if (options.tcpPort > 65535) {
        error = QStringLiteral("--tcp needs a port number up to 65535");
        return false;
    }
    if (options.tcpPort >= 0 && !options.linkPath.isEmpty()) {
        error = QStringLiteral("--link names a terminal; there is none with --tcp");
        return false;
    }
    if (parser.isSet(QStringLiteral("mode"))) {
        const QString mode = parser.value(QStringLiteral("mode"));
        if (!QRegularExpression(QStringLiteral("^[1-9]$")).match(mode).hasMatch()) {
            error = QStringLiteral("--mode needs one digit 1-9");
            return false;
        }
        options.radio.mode = mode.at(0).toLatin1();
    }
    return true;
}
