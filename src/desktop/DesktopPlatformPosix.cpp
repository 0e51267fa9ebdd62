#include "desktop/DesktopPlatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

QString DesktopPlatform::SettingsFile(const QString& applicationName)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + applicationName + QStringLiteral(".ini");
}

QString DesktopPlatform::SettingsFileText(const QString& applicationName)
{
    return QStringLiteral("$XDG_CONFIG_HOME/%1.ini").arg(applicationName);
}

bool DesktopPlatform::OpenTextFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopPlatform::UseParentConsole()
{
    // A terminal is the program's standard output already.
}
