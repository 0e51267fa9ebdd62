#include "SoakOptions.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>

namespace {
const QStringList kRoads = {QStringLiteral("cat"), QStringLiteral("hamlib"), QStringLiteral("rigctld"),
                           QStringLiteral("tcp")};
}

QString SoakOptions::RoadName(Road road)
{
    return kRoads.at(int(road));
}

bool SoakOptions::Parse(const QStringList& arguments, SoakOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs Vorn-MIDI Connector for a long while against a simulated station (radio, controller, "
        "loggers, faults at random moments) and checks at the end that nothing was lost."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("program"), QStringLiteral("The program's executable."), QStringLiteral("file")},
        {QStringLiteral("radiosim"), QStringLiteral("The radio simulator's executable."), QStringLiteral("file")},
        {QStringLiteral("dir"), QStringLiteral("Folder for the run's files (settings, logs)."), QStringLiteral("dir")},
        {QStringLiteral("minutes"), QStringLiteral("How long the faults go on (default 30)."), QStringLiteral("m")},
        {QStringLiteral("road"), QStringLiteral("cat, hamlib, rigctld or tcp (default cat)."), QStringLiteral("road")},
        {QStringLiteral("seed"), QStringLiteral("Seed of every random choice (default: from the clock)."),
         QStringLiteral("n")},
    });
    if (!parser.parse(arguments) || parser.isSet(QStringLiteral("help"))) {
        error = parser.isSet(QStringLiteral("help")) ? parser.helpText() : parser.errorText();
        return false;
    }
    options.program = parser.value(QStringLiteral("program"));
    options.radiosim = parser.value(QStringLiteral("radiosim"));
    options.dir = parser.value(QStringLiteral("dir"));
    for (const QString& file : {options.program, options.radiosim}) {
        if (!QFileInfo(file).isExecutable()) {
            error = QStringLiteral("not an executable: '%1' (--program and --radiosim are needed)").arg(file);
            return false;
        }
    }
    if (!QFileInfo(options.dir).isDir()) {
        error = QStringLiteral("--dir needs an existing folder, not '%1'").arg(options.dir);
        return false;
    }
    bool ok = true;
    if (parser.isSet(QStringLiteral("minutes")))
        options.minutes = parser.value(QStringLiteral("minutes")).toDouble(&ok);
    if (!ok || options.minutes <= 0) {
        error = QStringLiteral("--minutes needs a positive number");
        return false;
    }
    const int road = int(kRoads.indexOf(parser.value(QStringLiteral("road")).toLower()));
    if (parser.isSet(QStringLiteral("road")) && road < 0) {
        error = QStringLiteral("--road is cat, hamlib, rigctld or tcp");
        return false;
    }
    options.road = road < 0 ? Road::Cat : Road(road);
    options.seed = parser.isSet(QStringLiteral("seed"))
                       ? parser.value(QStringLiteral("seed")).toUInt(&ok)
                       : quint32(QDateTime::currentMSecsSinceEpoch() % 1000000);
    if (!ok) {
        error = QStringLiteral("--seed needs a whole number");
        return false;
    }
    return true;
}
