#include "core/NumberedError.h"
#include "support/ErrorNumberOf.h"
#include "support/QtPrinters.h"
#include "update/MD5Hash.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures raise the numbers users and support know and leave the instance
// usable for the suite of RFC 1321 and sizes around the 16384-byte read
// block, as files and as buffers.
TEST(MD5Hash, FailuresRaiseTheirNumbersThenKnownDigestsOfFilesAndBuffers)
{
    QTemporaryDir dir;
    MD5Hash md5;
    try {
        md5.HashFile(dir.filePath("nowhere.exe"));
        ADD_FAILURE() << "a missing file was hashed";
    } catch (const NumberedError& e) {
        EXPECT_EQ(QString::number(e.number()) + " " + e.description(), "-2147171518 File doesn't exist");
    }
    EXPECT_EQ(ErrorNumberOf([&] { md5.HashFile(dir.path()); }), NumberedError::kPathFileAccess);
    EXPECT_EQ(ErrorNumberOf([&] { md5.HashBytes(QByteArray()); }), 9);

    QByteArray cycle;  // 0, 1 ... 250: no block of the pattern repeats another
    for (int i = 0; i < 251; ++i)
        cycle += char(i);
    const QByteArray pattern = cycle.repeated(131);
    const struct { QByteArray input; QString digest; } known[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
        {pattern.left(16384), "E7B11E9C017496EC667C7BF8909D0E2D"},
        {pattern.left(16385), "D94C23717801D8E74AA41E12176CC48F"},
        {pattern.left(32769), "E13563E392DD9C0CAC420E2C736F374A"},
    };
    for (const auto& k : known) {
        SCOPED_TRACE(k.input.size());
        QFile file(dir.filePath(QString::number(k.input.size())));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(k.input) == k.input.size() && file.flush());
        EXPECT_EQ(md5.HashFile(file.fileName()), k.digest);
        EXPECT_EQ(k.input.isEmpty() ? k.digest : md5.HashBytes(k.input), k.digest);  // an empty buffer throws
    }
}
