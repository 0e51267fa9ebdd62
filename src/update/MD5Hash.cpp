#include "update/MD5Hash.h"

#include "core/NumberedError.h"

#include <QFile>
#include <QFileInfo>

#include <array>

QString MD5Hash::HashFile(const QString& FileName)
{
    if (!QFileInfo::exists(FileName))
        throw NumberedError(kFileMissing, QStringLiteral("File doesn't exist"),
                      QStringLiteral("MD5Hash.HashFile"));

    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw NumberedError::FileAccess(FileName + QStringLiteral(": ") + file.errorString());

    CreateHash();
    // Reading to the end instead of trusting a length taken up front keeps
    // files beyond 2 GiB and files that change size while we read correct.
    std::array<char, kBlockSize> buffer;
    for (;;) {
        const qint64 got = file.read(buffer.data(), kBlockSize);
        if (got < 0)
            throw NumberedError::FileAccess(FileName + QStringLiteral(": ") + file.errorString());
        if (got == 0)
            break;
        HashBlock(buffer.data(), got);
    }
    return GetHashValue();
}

QString MD5Hash::HashBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        throw NumberedError(kSubscriptOutOfRange, QStringLiteral("Subscript out of range"),
                      QStringLiteral("MD5Hash"));
    CreateHash();
    HashBlock(bytes.constData(), bytes.size());
    return GetHashValue();
}

void MD5Hash::CreateHash()
{
    hash_ = std::make_unique<QCryptographicHash>(QCryptographicHash::Md5);
}

void MD5Hash::HashBlock(const char* data, qsizetype count)
{
    hash_->addData(QByteArrayView(data, count));
}

QString MD5Hash::GetHashValue()
{
    const QString text = QString::fromLatin1(hash_->result().toHex().toUpper());
    hash_.reset();
    return text;
}
