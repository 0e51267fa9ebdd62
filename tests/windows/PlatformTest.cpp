#include "desktop/DesktopPlatform.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"
#include "update/SystemInstallerLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The user's settings file is in the roaming application data folder, where
// Windows keeps it for the user on every computer of a domain.
TEST(WindowsPlatform, TheSettingsFileIsInTheUsersApplicationData)
{
    const QString appData = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    ASSERT_FALSE(appData.isEmpty());
    EXPECT_EQ(DesktopPlatform::SettingsFile(QStringLiteral("vorn-midi-connector")).toLower(),
              (appData + QStringLiteral("/vorn-midi-connector.ini")).toLower());
}

// The updater's installer starts in the download folder with the arguments it
// is given, through the shell, which asks for elevation.
TEST(WindowsPlatform, TheInstallerStartsInItsFolderWithItsArguments)
{
    QTemporaryDir downloads;
    const QString installer = QStringLiteral("Vorn-MIDI_Connector_setup.exe");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/fake_installer.exe"),
                            downloads.filePath(installer)));
    SystemInstallerLauncher launcher;
    ASSERT_TRUE(launcher.Launch(installer, QStringLiteral("/run=yes /S"), downloads.path()));

    QFile report(downloads.filePath(QStringLiteral("report")));
    ASSERT_TRUE(WaitFor([&] { return report.exists(); }));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(report.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(downloads.path()).canonicalPath());
    EXPECT_EQ(lines[1], QStringLiteral("2:/run=yes:/S"));

    EXPECT_FALSE(launcher.Launch(QStringLiteral("nothing_setup.exe"), QStringLiteral("/run=yes /S"), downloads.path()));
}
