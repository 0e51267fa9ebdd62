#include "core/VbError.h"
#include "support/QtPrinters.h"
#include "update/MD5Hash.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString WriteFile(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath(QStringLiteral("in"));
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
}  // namespace

// The suite of RFC 1321, and sizes around the 16384-byte read block, as files
// and as buffers with one instance.
TEST(MD5Hash, KnownDigestsOfFilesAndBuffers)
{
    const struct {
        QByteArray input;
        QString digest;
    } known[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
        {Pattern(16384), "E7B11E9C017496EC667C7BF8909D0E2D"},
        {Pattern(16385), "D94C23717801D8E74AA41E12176CC48F"},
        {Pattern(32769), "E13563E392DD9C0CAC420E2C736F374A"},
    };
    QTemporaryDir dir;
    MD5Hash md5;
    for (const auto& k : known) {
        SCOPED_TRACE(k.input.size());
        EXPECT_EQ(md5.HashFile(WriteFile(dir, k.input)), k.digest);
        if (!k.input.isEmpty())
            EXPECT_EQ(md5.HashBytes(k.input), k.digest);
    }
}

TEST(MD5Hash, FailuresRaiseTheirNumbersAndTheInstanceStaysUsable)
{
    QTemporaryDir dir;
    const struct {
        std::function<void(MD5Hash&)> call;
        qint64 number;
        QString description;
    } cases[] = {
        {[&](MD5Hash& m) { m.HashFile(dir.filePath("nowhere.exe")); }, -2147171518, "File doesn't exist"},
        {[&](MD5Hash& m) { m.HashFile(dir.path()); }, VbError::kPathFileAccess, ""},
        {[](MD5Hash& m) { m.HashBytes(QByteArray()); }, 9, "Subscript out of range"},
    };
    MD5Hash md5;
    for (const auto& c : cases) {
        try {
            c.call(md5);
            ADD_FAILURE() << "no error raised for " << c.number;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), c.number);
            if (!c.description.isEmpty())
                EXPECT_EQ(e.description(), c.description);
        }
        EXPECT_EQ(md5.HashBytes("abc"), "900150983CD24FB0D6963F7D28E17F72");
    }
}
