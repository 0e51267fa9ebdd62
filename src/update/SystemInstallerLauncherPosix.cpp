#include "update/SystemInstallerLauncher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

bool SystemInstallerLauncher::Launch(const QString& fileName, const QString& parameters,
                                     const QString& directory)
{
    const QString program = QDir(directory).absoluteFilePath(fileName);
    // A downloaded file carries no execute permission; the caller has
    // already checked its digest.
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    QStringList arguments = QProcess::splitCommand(parameters);
    const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    if (pkexec.isEmpty())
        return QProcess::startDetached(program, arguments, directory);
    arguments.prepend(program);
    return QProcess::startDetached(pkexec, arguments, directory);
}
