#include "support/QtPrinters.h"
#include "core/VbError.h"
#include "update/MD5Hash.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

struct Known {
    QByteArray input;
    QString digest;
};

}  // namespace

// The test suite of RFC 1321, appendix A.5.
TEST(MD5Hash, Rfc1321SuiteForFilesAndBuffers)
{
    const Known suite[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    QTemporaryDir dir;
    MD5Hash md5;
    for (const Known& k : suite) {
        SCOPED_TRACE(k.input.toStdString());
        EXPECT_EQ(md5.HashFile(WriteFile(dir, QStringLiteral("in"), k.input)), k.digest);
        if (!k.input.isEmpty()) {
            EXPECT_EQ(md5.HashBytes(k.input), k.digest);
        }
    }
}

// Sizes around the 16384-byte read block: full blocks, a remainder, both.
TEST(MD5Hash, FilesAroundTheBlockSize)
{
    const struct {
        int size;
        QString digest;
    } cases[] = {
        {16383, "97053B1BBE1929EE4C40E6EF7FE7225C"},
        {16384, "E7B11E9C017496EC667C7BF8909D0E2D"},
        {16385, "D94C23717801D8E74AA41E12176CC48F"},
        {32769, "E13563E392DD9C0CAC420E2C736F374A"},
    };
    QTemporaryDir dir;
    MD5Hash md5;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(md5.HashFile(WriteFile(dir, QStringLiteral("block"), Pattern(c.size))), c.digest);
        EXPECT_EQ(md5.HashBytes(Pattern(c.size)), c.digest);
    }
}

TEST(MD5Hash, SmallDigestBytesKeepTheirLeadingZero)
{
    MD5Hash md5;
    // 0x0C is the first digest byte of "a".
    const QString digest = md5.HashBytes("a");
    EXPECT_EQ(digest.size(), 32);
    EXPECT_TRUE(digest.startsWith(QLatin1String("0C")));
}

TEST(MD5Hash, OneInstanceHashesFilesIndependently)
{
    QTemporaryDir dir;
    const QString first = WriteFile(dir, QStringLiteral("first"), "abc");
    const QString second = WriteFile(dir, QStringLiteral("second"), "message digest");
    MD5Hash md5;
    EXPECT_EQ(md5.HashFile(first), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(md5.HashFile(second), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(md5.HashFile(first), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(MD5Hash, MissingFileRaisesFileDoesntExist)
{
    QTemporaryDir dir;
    MD5Hash md5;
    try {
        md5.HashFile(dir.filePath(QStringLiteral("nowhere.exe")));
        FAIL() << "no error raised";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), -2147171518);
        EXPECT_EQ(e.description(), "File doesn't exist");
        EXPECT_EQ(e.source(), "MD5Hash.HashFile");
    }
}

// A folder exists but cannot be read as a file, even by root.
TEST(MD5Hash, UnreadableFileRaisesFileAccessAndInstanceStaysUsable)
{
    QTemporaryDir dir;
    MD5Hash md5;
    try {
        md5.HashFile(dir.path());
        FAIL() << "no error raised";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbError::kPathFileAccess);
        EXPECT_TRUE(e.description().contains(dir.path())) << e.description().toStdString();
    }
    EXPECT_EQ(md5.HashFile(WriteFile(dir, QStringLiteral("after"), "abc")),
              "900150983CD24FB0D6963F7D28E17F72");
}

TEST(MD5Hash, EmptyBufferIsSubscriptOutOfRange)
{
    MD5Hash md5;
    try {
        md5.HashBytes(QByteArray());
        FAIL() << "no error raised";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_EQ(e.description(), "Subscript out of range");
    }
    EXPECT_EQ(md5.HashBytes("abc"), "900150983CD24FB0D6963F7D28E17F72");
}
