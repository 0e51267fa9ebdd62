// The real executable as a desktop or a terminal starts and stops it: its
// command line, one running copy per settings file, and the end when it is
// stopped from outside, which must be the end "E&xit" gives.
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "support/TempSettings.h"
#include "support/RealProgram.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <csignal>
#include <memory>

// Sends `signal` to `program`: true when it then ends with status 0.
bool EndsCleanlyOn(QProcess& program, int signal)
{
    ::kill(pid_t(program.processId()), signal);
    return program.waitForFinished(15000) && program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
}

TEST(ProgramDesktop, CommandLineNeedsNoDisplay)
{
    const struct { QStringList arguments; int status; QString text; } cases[] = {  // text: on stdout for status 0
        {{"--version"}, 0, QStringLiteral("vorn-midi-connector %1\n").arg(kProgramVersion)},
        {{"--help"}, 0, "--settings <FILE>"},
        {{"-session", "restored", "--version"}, 0, "vorn-midi-connector "},  // Qt's own option
        {{"--bogus"}, 2, "Unknown option 'bogus'"},
        {{"--settings"}, 2, "Missing value after '--settings'"},
        {{"stray"}, 2, "Unexpected argument 'stray'"},
        {{"--settings", "/dev/zero"}, 2, "'/dev/zero', which is not a regular file"},  // it never ends
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        auto program = StartRealProgram(c.arguments);
        ASSERT_TRUE(program->waitForFinished(10000) && program->exitStatus() == QProcess::NormalExit &&
                    program->exitCode() == c.status) << program->exitCode();
        const QByteArray text = c.status == 0 ? program->readAllStandardOutput() : program->readAllStandardError();
        EXPECT_TRUE(QString::fromLocal8Bit(text).contains(c.text)) << text.toStdString();
    }
}

TEST(ProgramDesktop, OneCopyPerSettingsFileThatEndsAsExitDoes)
{
    Xvfb x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    TempSettings t;
    // A COM number out of range: no port, and no start-up box in the way.
    t.store.Write("settings", "catport", "17");
    const auto start = [&](const QString& settings) { return StartRealProgram({"--settings", settings}, x.display()); };

    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signal);
        // Placed on whole pixels, these come back as "1500" and "3000" only
        // when the end stores the window's position.
        t.store.Write("settings", "FormTop", "1507");
        t.store.Write("settings", "FormLeft", "3004");
        auto program = start(t.store.filePath());
        ASSERT_FALSE(WindowOf(x, *program).isEmpty());
        EXPECT_EQ(EndsCleanlyOn(*program, signal), signal != SIGKILL) << program->readAllStandardError().toStdString();
        EXPECT_EQ(t.store.Read("settings", "FormTop", "") + ',' + t.store.Read("settings", "FormLeft", ""),
                  signal != SIGKILL ? "1500,3000" : "1507,3004");
        EXPECT_EQ(QFile::exists(t.store.filePath() + ".running"), signal == SIGKILL);
    }

    // The killed copy's lock does not stop the next start. Another settings
    // file is another radio: that copy runs too, its start-up box on top.
    auto first = start(t.store.filePath());
    const QString firstWindow = WindowOf(x, *first);
    auto other = start(t.dir.filePath("other.ini"));
    const QString otherBox = WindowOf(x, *other, "^Com Port error$");

    // A second start with the first file, reached through a link, says that
    // the program runs and brings its window to the top: above the other's
    // box in the stacking order, which xwininfo lists from the top down, in hex.
    const QString link = t.dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(t.store.filePath(), link));
    auto second = start(link);
    x.Run("xdotool", {"windowfocus", "--sync", WindowOf(x, *second), "key", "Return"});
    ASSERT_TRUE(second->waitForFinished(15000) && second->exitCode() == 1);
    EXPECT_TRUE(second->readAllStandardError().contains("already runs with the settings file"));
    EXPECT_TRUE(WaitFor([&] {
        const QString topDown = x.Run("xwininfo", {"-root", "-children"});
        const int top = topDown.indexOf(QStringLiteral("0x%1 ").arg(firstWindow.toULongLong(), 0, 16));
        return top >= 0 && top < topDown.indexOf(QStringLiteral("0x%1 ").arg(otherBox.toULongLong(), 0, 16));
    })) << firstWindow.toStdString() << " " << otherBox.toStdString();

    // Both end cleanly, the other one while its start-up box waits for an answer.
    for (QProcess* program : {first.get(), other.get()})
        EXPECT_TRUE(EndsCleanlyOn(*program, SIGTERM));
}

// A settings file that cannot be written — its name or its lock's taken by a
// folder — never holds the end: a signal ends the program at once with
// status 0, the failure to store the position on standard error.
TEST(ProgramDesktop, SignalEndsTheProgramWhenTheSettingsCannotBeWritten)
{
    Xvfb x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    TempSettings t;
    t.store.Write("settings", "catport", "17");
    QProcessEnvironment config;
    config.insert("XDG_CONFIG_HOME", t.dir.filePath("config"));
    ASSERT_TRUE(QDir().mkpath(t.dir.filePath("config/vorn-midi-connector.ini")));
    const std::pair<QStringList, QString> cases[] = {  // arguments, a folder made once the window shows
        {{}, {}},
        {{"--settings", t.store.filePath()}, t.store.filePath() + ".lock"},
    };
    for (const auto& [arguments, folder] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        auto program = StartRealProgram(arguments, x.display(), config);
        ASSERT_FALSE(WindowOf(x, *program).isEmpty());
        if (!folder.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        ::kill(pid_t(program->processId()), SIGTERM);
        ASSERT_TRUE(program->waitForFinished(4000)) << "the end waits";
        EXPECT_TRUE(program->exitStatus() == QProcess::NormalExit && program->exitCode() == 0);
        EXPECT_TRUE(program->readAllStandardError().contains("VB6 runtime error (QueryUnload): 75 - "));
    }
}
