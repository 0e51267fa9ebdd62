#include "desktop/CommandLine.h"

#include "core/ProgramVersion.h"
#include "desktop/DesktopPlatform.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace {
const QString kProgram = QStringLiteral("vorn-midi-connector");

// The options QGuiApplication, QApplication and Qt's X11 support read
// themselves (-session among them, given by a session manager that starts
// the program again). They are accepted here and left in place for Qt.
const char* const kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowtitle", "qwindowicon", "geometry", "title", "icon", "session", "display",
    "name", "style", "stylesheet", "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb",
                                "testability"};

void AddQtOptions(QCommandLineParser& parser)
{
    auto hidden = [&parser](const char* name, const QString& valueName) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const char* name : kQtOptionsWithValue)
        hidden(name, QStringLiteral("value"));
    for (const char* name : kQtFlags)
        hidden(name, QString());
}
} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Vorn-MIDI Connector: a MIDI control surface as the tuning and control "
                       "panel of a transceiver on a CAT link."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show these options and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version and end."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Use the settings file FILE instead of your own "
                       "(%1); it is created when missing.")
            .arg(DesktopPlatform::SettingsFileText(kProgram)),
        QStringLiteral("FILE"));
    parser.addOptions({help, version, settings});
    AddQtOptions(parser);

    CommandLine result;
    QString complaint;
    if (!parser.parse(arguments))
        complaint = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        complaint = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    else if (parser.isSet(settings) && parser.value(settings).isEmpty())
        complaint = QStringLiteral("--settings needs the name of a file.");
    else if (parser.isSet(settings) && QFileInfo::exists(parser.value(settings))
             && !QFileInfo(parser.value(settings)).isFile())
        complaint = QStringLiteral("--settings names '%1', which is not a regular file.")
                        .arg(parser.value(settings));

    if (!complaint.isEmpty()) {
        result.action_ = Action::Refuse;
        result.text_ = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                           .arg(kProgram, complaint);
    } else if (parser.isSet(help)) {
        result.action_ = Action::Help;
        // Without an application object Qt cannot name the program itself.
        result.text_ = parser.helpText().replace(QStringLiteral("<executable_name>"), kProgram);
    } else if (parser.isSet(version)) {
        result.action_ = Action::Version;
        result.text_ = QStringLiteral("%1 %2\n").arg(kProgram, QLatin1String(kProgramVersion));
    } else if (parser.isSet(settings)) {
        result.settingsFile_ = QFileInfo(parser.value(settings)).absoluteFilePath();
    }
    return result;
}

int CommandLine::Answer() const
{
    const QByteArray bytes = text_.toLocal8Bit();
    const bool refused = action_ == Action::Refuse;
    std::fputs(bytes.constData(), refused ? stderr : stdout);
    return refused ? 2 : 0;
}
