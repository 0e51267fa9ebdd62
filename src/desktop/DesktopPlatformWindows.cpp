#include "desktop/DesktopPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <qt_windows.h>

#include <cstdio>

QString DesktopPlatform::SettingsFile(const QString& applicationName)
{
    // Qt puts the application's name under the roaming folder (%APPDATA%),
    // and the program sets no organisation: one level up is %APPDATA% itself.
    const QString appData = QFileInfo(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).path();
    return QDir(appData).filePath(applicationName + QStringLiteral(".ini"));
}

QString DesktopPlatform::SettingsFileText(const QString& applicationName)
{
    return QStringLiteral("%APPDATA%\\%1.ini").arg(applicationName);
}

bool DesktopPlatform::OpenTextFile(const QString& path)
{
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)});
}

void DesktopPlatform::UseParentConsole()
{
    // A program of the Windows subsystem has no console of its own; answers
    // already redirected (to a file, a pipe) stay where they go.
    const bool redirected = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    if (!AttachConsole(ATTACH_PARENT_PROCESS) || redirected)
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}
