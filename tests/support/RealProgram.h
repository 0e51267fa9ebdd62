#pragma once

#include "support/ChildProcess.h"
#include "support/WaitFor.h"
#include "support/Xvfb.h"

#include <QProcess>
#include <QStringList>
#include <memory>

// The real executable (its path in VMC_PROGRAM) as a desktop starts it, on
// the X display `display` (empty: no display at all), with the test's own
// environment (JACK server, XDG folders) and `extra` on top.
inline std::unique_ptr<QProcess> StartRealProgram(const QStringList& arguments, const QString& display = {},
                                                  const QProcessEnvironment& extra = {})
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
    env.insert(extra);
    program->setProcessEnvironment(env);
    EndWithTheTest(*program);
    program->start(qEnvironmentVariable("VMC_PROGRAM"), arguments);
    return program;
}

// The ids of the visible windows called `title` that `program` shows, once
// it shows one. One xdotool waits on one connection (a stream of new
// connections makes Xvfb refuse some, the program's own among them); it gives
// up when a window vanishes while it searches, and then searches again.
inline QStringList WindowsOf(const Xvfb& x, const QProcess& program,
                             const QString& title = "^Vorn-MIDI Connector$", int timeoutMs = 15000)
{
    QString ids;
    WaitFor([&] {
        return !(ids = x.Run("xdotool", {"search", "--sync", "--all", "--onlyvisible", "--pid",
                                         QString::number(program.processId()), "--name", title})).isEmpty();
    }, timeoutMs);
    return ids.isEmpty() ? QStringList() : ids.split('\n');
}

inline QString WindowOf(const Xvfb& x, const QProcess& program, const QString& title = "^Vorn-MIDI Connector$")
{
    return WindowsOf(x, program, title).value(0);
}
