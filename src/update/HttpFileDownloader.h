#pragma once

#include "update/IFileDownloader.h"

#include <QNetworkAccessManager>
#include <QPointer>

class QNetworkReply;
class QSaveFile;

// A synchronous GET over QNetworkAccessManager. It waits in a local event
// loop, so windows keep repainting and taking clicks meanwhile, and streams
// the body into a QSaveFile that is committed only once the body is complete.
// A body over its limit and a redirect that is not followed end the request
// at once, with the reason in the reply.
class HttpFileDownloader : public IFileDownloader {
public:
    static constexpr int kDefaultTimeoutMs = 30000;

    Reply Get(const QString& url, const QString& path, qint64 maxBytes) override;
    void Abort() override;

    // Longest silence from the server before a request is given up.
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

private:
    struct Transfer;

    static QUrl CheckedUrl(const QString& url);
    static bool MayFollow(const QUrl& requested, const QUrl& target);
    static void Refuse(Transfer& transfer, const QString& why);
    static void CheckDeclaredLength(Transfer& transfer);
    static void SaveChunk(Transfer& transfer);
    static void Finish(Transfer& transfer);
    static qint64 ErrorNumber(const Transfer& transfer);

    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> current_;
    int timeoutMs_ = kDefaultTimeoutMs;
};
