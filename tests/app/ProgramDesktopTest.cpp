// The real executable as a desktop or a terminal starts and stops it: its
// command line, one running copy per settings file, and the end when it is
// stopped from outside, which must be the end "E&xit" gives.
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "support/RadioSimProcess.h"
#include "support/WaitFor.h"
#include "support/Xvfb.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <memory>

namespace {

// The program with `arguments`, on `display` (none: no display at all).
std::unique_ptr<QProcess> StartProgram(const QStringList& arguments, const QString& display = {})
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    program->setProcessEnvironment(env);
    program->start(qEnvironmentVariable("VMC_PROGRAM"), arguments);
    return program;
}

// The id of the window called `title` that `program` shows, once it shows one.
QString WindowOf(const QString& display, const QProcess& program,
                 const QString& title = QStringLiteral("^Vorn-MIDI Connector$"))
{
    // One xdotool waits on one connection (a stream of new connections makes
    // Xvfb refuse some, the program's own among them); it gives up when a
    // window vanishes while it searches, and then searches again.
    QString ids;
    WaitFor([&] {
        RunXdotool(display, {"search", "--sync", "--all", "--onlyvisible", "--pid",
                             QString::number(program.processId()), "--name", title}, &ids);
        return !ids.isEmpty();
    });
    return ids.section(QLatin1Char('\n'), 0, 0);
}

// The windows on the screen from the top down, numbered as xdotool numbers them.
QStringList WindowsTopDown(const QString& display)
{
    QString listing;
    RunOnDisplay(display, QStringLiteral("xwininfo"), {"-root", "-children"}, &listing);
    QStringList ids;
    const QRegularExpression child(QStringLiteral("^\\s+(0x[0-9a-f]+) "));
    for (const QString& line : listing.split(QLatin1Char('\n')))
        if (const QRegularExpressionMatch m = child.match(line); m.hasMatch())
            ids << QString::number(m.captured(1).toULongLong(nullptr, 16));
    return ids;
}

bool EndedCleanly(QProcess& program)
{
    return program.waitForFinished(15000) && program.exitStatus() == QProcess::NormalExit &&
           program.exitCode() == 0;
}

TEST(ProgramDesktop, CommandLineNeedsNoDisplay)
{
    const struct {
        QStringList arguments;
        int status;
        QString text;  // on stdout for status 0, else on stderr
    } cases[] = {
        {{"--version"}, 0, QStringLiteral("vorn-midi-connector %1\n").arg(kProgramVersion)},
        {{"--help"}, 0, "--settings <FILE>"},
        {{"-session", "restored", "--version"}, 0, "vorn-midi-connector "},  // Qt's own option
        {{"--bogus"}, 2, "Unknown option 'bogus'"},
        {{"--settings"}, 2, "Missing value after '--settings'"},
        {{"stray"}, 2, "Unexpected argument 'stray'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        auto program = StartProgram(c.arguments);
        ASSERT_TRUE(program->waitForFinished(10000));
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program->exitCode(), c.status);
        const QByteArray text = c.status == 0 ? program->readAllStandardOutput()
                                              : program->readAllStandardError();
        EXPECT_TRUE(QString::fromLocal8Bit(text).contains(c.text)) << text.toStdString();
    }
}

TEST(ProgramDesktop, OneCopyPerSettingsFileThatEndsAsExitDoes)
{
    Xvfb x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    RadioSimProcess radio;
    ASSERT_TRUE(radio.Start()) << radio.ErrorString().toStdString();
    QTemporaryDir dir;
    const QString file = dir.filePath("radio.ini");
    IniSettingsStore store(file);
    // A radio that answers, so that no start-up box stands in the way.
    radio.MapToCom(store, 1);
    store.Write("settings", "catport", "1");
    auto start = [&](const QString& settings) {
        return StartProgram({"--settings", settings}, x.display());
    };

    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signal);
        // Placed on whole pixels, these come back as "1500" and "3000" only
        // when the end stores the window's position.
        store.Write("settings", "FormTop", "1507");
        store.Write("settings", "FormLeft", "3004");
        auto program = start(file);
        ASSERT_FALSE(WindowOf(x.display(), *program).isEmpty());
        ::kill(pid_t(program->processId()), signal);
        const bool clean = signal != SIGKILL;
        EXPECT_EQ(EndedCleanly(*program), clean) << program->readAllStandardError().toStdString();
        EXPECT_EQ(store.Read("settings", "FormTop", "") == "1500", clean);
        EXPECT_EQ(store.Read("settings", "FormLeft", "") == "3000", clean);
        EXPECT_EQ(QFile::exists(file + ".running"), !clean);
    }

    // The killed copy's lock does not stop the next start. Another settings
    // file is another radio: that copy runs too, its start-up box on top.
    auto first = start(file);
    const QString firstWindow = WindowOf(x.display(), *first);
    ASSERT_FALSE(firstWindow.isEmpty());
    auto other = start(dir.filePath("other.ini"));
    const QString otherBox = WindowOf(x.display(), *other, "^Com Port error$");
    ASSERT_FALSE(otherBox.isEmpty());

    // A second start with the first file says that the program runs and
    // brings its window to the top.
    auto second = start(file);
    RunXdotool(x.display(), {"windowfocus", "--sync", WindowOf(x.display(), *second), "key", "Return"});
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("already runs with the settings file"));
    EXPECT_TRUE(WaitFor([&] {
        const QStringList topDown = WindowsTopDown(x.display());
        return topDown.indexOf(firstWindow) < topDown.indexOf(otherBox);
    }));

    // Both end cleanly, the other one while its start-up box waits for an answer.
    for (QProcess* program : {first.get(), other.get()}) {
        program->terminate();
        EXPECT_TRUE(EndedCleanly(*program));
    }
}

} // namespace
