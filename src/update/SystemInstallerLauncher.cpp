#include "update/SystemInstallerLauncher.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#endif

bool SystemInstallerLauncher::Launch(const QString& fileName, const QString& parameters,
                                     const QString& directory)
{
#ifdef Q_OS_WIN
    const QString folder = QDir::toNativeSeparators(directory);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"runas", reinterpret_cast<LPCWSTR>(fileName.utf16()),
        reinterpret_cast<LPCWSTR>(parameters.utf16()), reinterpret_cast<LPCWSTR>(folder.utf16()),
        SW_SHOWNORMAL));
    return result > 32;
#else
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
#endif
}
