#include "support/QtPrinters.h"
#include "update/SystemInstallerLauncher.h"

#include "support/WaitFor.h"
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
// Without pkexec the installer is started as it is: from the download folder,
// with the two arguments, even though the download carried no execute bit.
TEST(SystemInstallerLauncher, StartsTheInstallerInTheDownloadFolder)
{
    if (!QStandardPaths::findExecutable("pkexec").isEmpty())
        GTEST_SKIP() << "pkexec would ask for a password";
    QTemporaryDir downloads;
    const QString report = downloads.filePath("report");
    {
        QFile installer(downloads.filePath("Vorn-MIDI_Connector_setup.exe"));
        ASSERT_TRUE(installer.open(QIODevice::WriteOnly));
        installer.write("#!/bin/sh\n{ pwd; echo \"$#:$1:$2\"; } > report.tmp && mv report.tmp report\n");
    }
    SystemInstallerLauncher launcher;
    ASSERT_TRUE(launcher.Launch("Vorn-MIDI_Connector_setup.exe", "/run=yes /S", downloads.path()));

    WaitFor([&] { return QFile::exists(report); });
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, QStringList({downloads.path(), "2:/run=yes:/S"}));
}
#endif

TEST(SystemInstallerLauncher, MissingInstallerReportsFailure)
{
    if (!QStandardPaths::findExecutable("pkexec").isEmpty())
        GTEST_SKIP() << "pkexec would ask for a password";
    QTemporaryDir downloads;
    SystemInstallerLauncher launcher;
    EXPECT_FALSE(launcher.Launch("nothing_setup.exe", "/run=yes /S", downloads.path()));
}
