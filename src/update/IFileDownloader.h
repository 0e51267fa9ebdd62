#pragma once

#include <QString>

// One HTTP GET into one file. A body is saved only when the server answered
// 200 and the whole body arrived within its size limit; otherwise an earlier
// file at that path is left as it was. Redirects are followed only to https,
// or, from an http address, to http on that same host.
class IFileDownloader {
public:
    struct Reply {
        int status = 0;
        QString statusText;
        // Why the answer was not taken, e.g. "the file is larger than 64 KiB"
        // or a redirect that is not followed; empty when it was.
        QString refusal;
    };

    // Failures that are not an HTTP status throw NumberedError. Two classes carry
    // the numbers the update window turns into its own advice:
    // the server cannot be reached (refused, unknown host, no answer in time) ...
    static constexpr qint64 kServerNotFound = -2147024891;  // 0x80070005
    // ... and a URL that is not a usable http:// or https:// address.
    static constexpr qint64 kMalformedUrl = -2147012890;  // 0x80072EE6

    virtual ~IFileDownloader() = default;
    // A body longer than `maxBytes` is refused as soon as it shows: by its
    // declared length or by the bytes that arrive.
    virtual Reply Get(const QString& url, const QString& path, qint64 maxBytes) = 0;
    // Ends a Get that is running; it then throws.
    virtual void Abort() = 0;
};
