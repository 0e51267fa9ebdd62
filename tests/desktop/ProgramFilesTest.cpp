#include "desktop/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A build keeps the readme beside the executable, an installation in
// share/doc/vorn-midi-connector beside its bin folder.
TEST(ProgramFiles, ReadmeBesideTheProgramOrInstalled)
{
    const QString beside = "bin/readme.txt", installed = "share/doc/vorn-midi-connector/readme.txt";
    const struct {
        QStringList files;
        QString found;
    } cases[] = {{{beside}, beside}, {{installed}, installed}, {{beside, installed}, beside},
                 {{}, beside}};  // the last: named in the message that it is missing
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.join(", ").toStdString());
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath("bin");
        for (const QString& file : c.files) {
            QDir(prefix.path()).mkpath(QFileInfo(file).path());
            QFile(prefix.filePath(file)).open(QIODevice::WriteOnly);
        }
        EXPECT_EQ(ProgramFiles::Readme(prefix.filePath("bin")), prefix.filePath(c.found));
    }
}
