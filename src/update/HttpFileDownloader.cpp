#include "update/HttpFileDownloader.h"

#include "core/Logging.h"
#include "core/NumberedError.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <memory>

namespace {
QString TooLarge(qint64 maxBytes)
{
    return QStringLiteral("the file is larger than ") + QLocale::c().formattedDataSize(maxBytes, 0);
}
} // namespace

struct HttpFileDownloader::Transfer {
    Transfer(QNetworkReply* r, const QString& path, qint64 limit)
        : reply(r), file(path), maxBytes(limit)
    {
    }
    QNetworkReply* reply;
    QSaveFile file;
    qint64 maxBytes;
    qint64 received = 0;
    bool timedOut = false;
    QString fileError;
    QString refusal;
};

IFileDownloader::Reply HttpFileDownloader::Get(const QString& url, const QString& path,
                                               qint64 maxBytes)
{
    const QUrl target = CheckedUrl(url);
    QDir().mkpath(QFileInfo(path).absolutePath());

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    const std::unique_ptr<QNetworkReply> reply(manager_.get(request));
    Transfer transfer(reply.get(), path, maxBytes);

    // The time-out counts silence, not total time: a large installer on a
    // slow line keeps going as long as bytes keep arriving.
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(timeoutMs_);
    QObject::connect(&silence, &QTimer::timeout, reply.get(), [&transfer] {
        transfer.timedOut = true;
        transfer.reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, reply.get(), [&](const QUrl& to) {
        if (MayFollow(target, to))
            emit transfer.reply->redirectAllowed();
        else
            Refuse(transfer, QStringLiteral("redirect to %1 not followed (only to https, or to http "
                                            "on the same host)").arg(to.toDisplayString()));
    });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, reply.get(),
                     [&transfer] { CheckDeclaredLength(transfer); });
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
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    qCDebug(updateTrace) << "GET" << url << "->" << status.toInt() << reply->errorString();
    if (!transfer.refusal.isEmpty())
        return Reply{status.toInt(), reason, transfer.refusal};
    // A redirect that was followed but led nowhere keeps its 3xx status; the
    // failure of the hop after it is what counts.
    const bool redirectFailed = status.toInt() / 100 == 3 && reply->error() != QNetworkReply::NoError;
    if (!transfer.timedOut && transfer.fileError.isEmpty() && status.isValid() &&
        status.toInt() != 200 && !redirectFailed)
        return Reply{status.toInt(), reason, QString()};
    Finish(transfer);
    return Reply{200, reason, QString()};
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
        throw NumberedError(kMalformedUrl,
                      QStringLiteral("Not an http:// or https:// address: ") + url);
    return target;
}

// https anywhere; plain http only where the address asked for already went
// over plain http, to that same host.
bool HttpFileDownloader::MayFollow(const QUrl& requested, const QUrl& target)
{
    const QString scheme = target.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    return scheme == QLatin1String("http") && requested.scheme() == QLatin1String("http") &&
           target.host().compare(requested.host(), Qt::CaseInsensitive) == 0;
}

void HttpFileDownloader::Refuse(Transfer& transfer, const QString& why)
{
    if (transfer.refusal.isEmpty())
        transfer.refusal = why;
    transfer.reply->abort();
}

// A server that announces more than the limit is not listened to any further.
void HttpFileDownloader::CheckDeclaredLength(Transfer& transfer)
{
    const int status = transfer.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = transfer.reply->header(QNetworkRequest::ContentLengthHeader);
    if (status == 200 && length.isValid() && length.toLongLong() > transfer.maxBytes)
        Refuse(transfer, TooLarge(transfer.maxBytes));
}

// Only a 200 body is kept; any other body is read and dropped so that it
// does not pile up in memory.
void HttpFileDownloader::SaveChunk(Transfer& transfer)
{
    const QByteArray chunk = transfer.reply->readAll();
    const int status = transfer.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200 || !transfer.fileError.isEmpty() || !transfer.refusal.isEmpty())
        return;
    transfer.received += chunk.size();
    if (transfer.received > transfer.maxBytes) {
        Refuse(transfer, TooLarge(transfer.maxBytes));
        return;
    }
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
        throw NumberedError::FileAccess(path + QStringLiteral(": ") + transfer.fileError);
    if (transfer.timedOut || transfer.reply->error() != QNetworkReply::NoError)
        throw NumberedError(ErrorNumber(transfer), transfer.timedOut
                                                 ? QStringLiteral("The server did not answer in time")
                                                 : transfer.reply->errorString());
    if (!transfer.file.isOpen() && !transfer.file.open(QIODevice::WriteOnly))
        throw NumberedError::FileAccess(path + QStringLiteral(": ") + transfer.file.errorString());
    if (!transfer.file.commit())
        throw NumberedError::FileAccess(path + QStringLiteral(": ") + transfer.file.errorString());
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
