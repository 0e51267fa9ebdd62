#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// An X server of the test's own (Xvfb), for running the real executable; its
// display number comes from -displayfd.
class Xvfb {
public:
    bool Start()
    {
        process_.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (!process_.waitForStarted(5000))
            return false;
        const QDeadlineTimer deadline(10000);
        while (!process_.canReadLine())
            if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
                return false;
        display_ = QStringLiteral(":") + QString::fromLatin1(process_.readLine()).trimmed();
        return true;
    }
    ~Xvfb()
    {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    const QString& display() const { return display_; }

private:
    QProcess process_;
    QString display_;
};

// Runs `program` with `args` on `display`; its exit status, -1 when it hangs.
// With `output`, its standard output (trimmed).
inline int RunOnDisplay(const QString& display, const QString& program, const QStringList& args,
                        QString* output = nullptr)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(15000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return p.exitCode();
}

inline int RunXdotool(const QString& display, const QStringList& args, QString* output = nullptr)
{
    return RunOnDisplay(display, QStringLiteral("xdotool"), args, output);
}
