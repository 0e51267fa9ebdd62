#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <memory>

// MD5 digest (RFC 1321) of a file or a byte buffer as 32 upper-case hex
// digits. Reports nothing itself: every failure reaches the caller as a
// NumberedError with the numbers users and support know from earlier versions.
class MD5Hash {
public:
    // "File doesn't exist" (0x8004C342 as a signed 32-bit number).
    static constexpr qint64 kFileMissing = -2147171518;
    static constexpr qint64 kSubscriptOutOfRange = 9;
    static constexpr qsizetype kBlockSize = 16384;

    // Throws NumberedError kFileMissing for a missing file and NumberedError 75
    // (Path/File access error) for one that exists but cannot be read.
    QString HashFile(const QString& FileName);
    // Throws NumberedError 9 for an empty buffer, as the run time does for an
    // array without elements.
    QString HashBytes(const QByteArray& bytes);

private:
    void CreateHash();
    void HashBlock(const char* data, qsizetype count);
    QString GetHashValue();

    // The digest being computed; open from CreateHash until GetHashValue.
    std::unique_ptr<QCryptographicHash> hash_;
};
