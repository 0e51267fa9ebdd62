#include "update/HttpFileDownloader.h"

#include "core/VbError.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <memory>

struct HttpFileDownloader::Transfer {
    explicit Transfer(QNetworkReply* r, const QString& path) : reply(r), file(path) {}
    QNetworkReply* reply;
    QSaveFile file;
    bool timedOut = false;
    QString fileError;
};

IFileDownloader::Reply HttpFileDownloader::Get(const QString& url, const QString& path)
{
    const QUrl target = CheckedUrl(url);
    QDir().mkpath(QFileInfo(path).absolutePath());

    const std::unique_ptr<QNetworkReply> reply(manager_.get(QNetworkRequest(target)));
    Transfer transfer(reply.get(), path);

    // The time-out counts silence, not total time: a large installer on a
    // slow line keeps going as long as bytes keep arriving.
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(timeoutMs_);
    QObject::connect(&silence, &QTimer::timeout, reply.get(), [&transfer] {
        transfer.timedOut = true;
        transfer.reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), [&] {
        silence.start();
        SaveChunk(transfer);
    });

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    current_ = reply.get();
    silence.start();
    if (!reply->isFinished())
        loop.exec();
    current_ = nullptr;
    silence.stop();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!transfer.timedOut && transfer.fileError.isEmpty() && status.isValid() && status.toInt() != 200)
        return Reply{status.toInt(),
                     reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()};
    Finish(transfer);
    return Reply{200, reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()};
}

void HttpFileDownloader::Abort()
{
    if (current_)
        current_->abort();
}

QUrl HttpFileDownloader::CheckedUrl(const QString& url)
{
    const QUrl target(url, QUrl::StrictMode);
    const QString scheme = target.scheme();
    if (!target.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        target.host().isEmpty())
        throw VbError(kMalformedUrl,
                      QStringLiteral("Not an http:// or https:// address: ") + url);
    return target;
}

// Only a 200 body is kept; any other body is read and dropped so that it
// does not pile up in memory.
void HttpFileDownloader::SaveChunk(Transfer& transfer)
{
    const QByteArray chunk = transfer.reply->readAll();
    const int status = transfer.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200 || !transfer.fileError.isEmpty())
        return;
    if (!transfer.file.isOpen() && !transfer.file.open(QIODevice::WriteOnly)) {
        transfer.fileError = transfer.file.errorString();
        transfer.reply->abort();
        return;
    }
    if (transfer.file.write(chunk) != chunk.size()) {
        transfer.fileError = transfer.file.errorString();
        transfer.reply->abort();
    }
}

// Ends a transfer that did not stop at an HTTP status other than 200:
// either the body is complete and goes to disk, or the failure is thrown.
void HttpFileDownloader::Finish(Transfer& transfer)
{
    const QString path = transfer.file.fileName();
    if (transfer.fileError.isEmpty() && !transfer.timedOut &&
        transfer.reply->error() == QNetworkReply::NoError)
        SaveChunk(transfer);
    if (!transfer.fileError.isEmpty())
        throw VbError::FileAccess(path + QStringLiteral(": ") + transfer.fileError);
    if (transfer.timedOut || transfer.reply->error() != QNetworkReply::NoError)
        throw VbError(ErrorNumber(transfer), transfer.timedOut
                                                 ? QStringLiteral("The server did not answer in time")
                                                 : transfer.reply->errorString());
    if (!transfer.file.isOpen() && !transfer.file.open(QIODevice::WriteOnly))
        throw VbError::FileAccess(path + QStringLiteral(": ") + transfer.file.errorString());
    if (!transfer.file.commit())
        throw VbError::FileAccess(path + QStringLiteral(": ") + transfer.file.errorString());
}

qint64 HttpFileDownloader::ErrorNumber(const Transfer& transfer)
{
    if (transfer.timedOut)
        return kServerNotFound;
    switch (transfer.reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
        return kServerNotFound;
    case QNetworkReply::ProtocolUnknownError:
        return kMalformedUrl;
    default:
        return transfer.reply->error();
    }
}
