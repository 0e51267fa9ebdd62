#include "RigctlQuery.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

void RigctlQuery::Run(QObject* owner, quint16 port, const QStringList& commands, Answer then, int timeoutMs)
{
    auto* rigctl = new QProcess(owner);
    auto* deadline = new QTimer(rigctl);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, rigctl, [rigctl] { rigctl->kill(); });
    QObject::connect(rigctl, &QProcess::finished, owner, [rigctl, then](int code, QProcess::ExitStatus status) {
        const bool ran = status == QProcess::NormalExit && code == 0;
        then(ran ? QString::fromLocal8Bit(rigctl->readAllStandardOutput()) : QString());
        rigctl->deleteLater();
    });
    QObject::connect(rigctl, &QProcess::errorOccurred, owner, [rigctl, then](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        then(QString());
        rigctl->deleteLater();
    });
    rigctl->start(QStringLiteral("rigctl"), QStringList{QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"),
                                                        QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("-C"),
                                                        QStringLiteral("cache_timeout=0")}
                                                + commands);
    deadline->start(timeoutMs);
}

std::optional<qint64> RigctlQuery::Frequency(const QString& output)
{
    static const QRegularExpression number(QStringLiteral("^(?:Frequency: )?([0-9]+)$"),
                                           QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = number.match(output);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}
