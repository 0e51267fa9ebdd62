// The real executable as a desktop or a terminal starts and stops it: its
// command line, one running copy per settings file, and the end when it is
// stopped from outside, which must be the end "E&xit" gives.
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "support/Xvfb.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <csignal>
#include <memory>

// The program with `arguments`, on `display` (empty: no display at all).
std::unique_ptr<QProcess> StartProgram(const QStringList& arguments, const QString& display = {})
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
    program->setProcessEnvironment(env);
    program->start(qEnvironmentVariable("VMC_PROGRAM"), arguments);
    return program;
}

// The id of the window called `title` that `program` shows, once it shows one.
// One xdotool waits on one connection (a stream of new connections makes Xvfb
// refuse some, the program's own among them); it gives up when a window
// vanishes while it searches, and then searches again.
QString WindowOf(const Xvfb& x, const QProcess& program, const QString& title = "^Vorn-MIDI Connector$")
{
    QString ids;
    WaitFor([&] { return !(ids = x.Run("xdotool", {"search", "--sync", "--all", "--onlyvisible", "--pid",
                                                   QString::number(program.processId()), "--name", title})).isEmpty(); });
    return ids.section('\n', 0, 0);
}

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        auto program = StartProgram(c.arguments);
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
    const auto start = [&](const QString& settings) { return StartProgram({"--settings", settings}, x.display()); };

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

    // A second start with the first file says that the program runs and
    // brings its window to the top: above the other's box in the stacking
    // order, which xwininfo lists from the top down, in hex.
    auto second = start(t.store.filePath());
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
