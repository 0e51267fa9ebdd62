// The real executable on a real X server (Xvfb): a JACK surface named
// "Vorn-MIDI" tunes the simulated radio through it, and "E&xit" ends it.
#include "core/IniSettingsStore.h"
#include "support/JackMidiSource.h"
#include "support/RadioSimProcess.h"
#include "support/WaitFor.h"
#include "support/Xvfb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <functional>

namespace {

QStringList Matching(const QStringList& commands, const QString& pattern)
{
    return commands.filter(QRegularExpression(pattern));
}

struct RigCase {
    QString rigtype;
    QList<QPair<QPair<int, int>, QString>> controls;  // controller, value -> radio command
};

TEST(ProgramEndToEnd, SurfaceTunesTheRadioAndExitStoresThePosition)
{
    Xvfb x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
    JackMidiSource surface;
    RadioSimProcess radio;
    ASSERT_TRUE(radio.Start({"--freq-a", "00014060000"})) << radio.ErrorString().toStdString();

    QTemporaryDir config;
    IniSettingsStore store(config.filePath(QStringLiteral("vorn-midi-connector.ini")));
    radio.MapToCom(store, 1);
    store.Write("settings", "catport", "1");
    store.Write("settings", "mautoconnect", "1");
    store.Write("settings", "polltime", "200");
    store.Write("settings", "FormTop", "1500");
    store.Write("settings", "FormLeft", "3000");

    // Input that arrives while the link is down is ignored by design, so each
    // control is worked again until the radio shows its command.
    const QList<RigCase> rigs = {
        {"flex",
         {{{0x64, 0x41}, "^FA000140600[1-9]0$"},  // wheel up, speed 1: "#UP10"
          {{0x68, 0x7F}, "^PC 100$"},             // slider B in mode 2: "#TXPWR"
          {{0x06, 0x7F}, "^MD\\d$"}}},             // button 6: "#MUP"
        {"elecraft",
         {{{0x64, 0x41}, "^UP1$"},                // the radio's own step
          {{0x01, 0x7F}, "^SWT10$"}}},            // button 1
    };
    for (const RigCase& rig : rigs) {
        SCOPED_TRACE(rig.rigtype.toStdString());
        store.Write("settings", "rigtype", rig.rigtype);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.display());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("HOME"), config.path());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(qEnvironmentVariable("VMC_PROGRAM"), {});
        ASSERT_TRUE(program.waitForStarted(10000));

        const int polled = radio.ReceivedCommands().count("IF");
        ASSERT_TRUE(WaitFor([&] { return radio.ReceivedCommands().count("IF") > polled; }));
        for (const auto& [message, pattern] : rig.controls) {
            const bool seen = WaitFor([&] {
                if (!Matching(radio.ReceivedCommands(), pattern).isEmpty())
                    return true;
                surface.SendControlChange(message.first, message.second);
                QThread::msleep(300);
                return !Matching(radio.ReceivedCommands(), pattern).isEmpty();
            });
            EXPECT_TRUE(seen) << pattern.toStdString();
        }

        // "E&xit" by its keyboard accelerator.
        ASSERT_EQ(RunXdotool(x.display(), {"search", "--sync", "--name", "^Vorn-MIDI Connector$",
                                           "windowfocus", "--sync", "key", "--clearmodifiers",
                                           "alt+x"}),
                  0);
        ASSERT_TRUE(program.waitForFinished(15000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);

        IniSettingsStore after(store.filePath());
        EXPECT_EQ(after.Read("settings", "FormTop", ""), "1500");
        EXPECT_EQ(after.Read("settings", "FormLeft", ""), "3000");
        EXPECT_EQ(after.Read("midimap", "f6441", ""), "#UP10");
    }
}

} // namespace
