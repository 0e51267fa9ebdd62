#pragma once

#include <QString>

// One HTTP GET into one file. A body is saved only when the server answered
// 200 and the whole body arrived; otherwise an earlier file at that path is
// left as it was.
class IFileDownloader {
public:
    struct Reply {
        int status = 0;
        QString statusText;
    };

    // Failures that are not an HTTP status throw VbError. Two classes carry
    // the numbers the update window turns into its own advice:
    // the server cannot be reached (refused, unknown host, no answer in time) ...
    static constexpr qint64 kServerNotFound = -2147024891;  // 0x80070005
    // ... and a URL that is not a usable http:// or https:// address.
    static constexpr qint64 kMalformedUrl = -2147012890;  // 0x80072EE6

    virtual ~IFileDownloader() = default;
    virtual Reply Get(const QString& url, const QString& path) = 0;
    // Ends a Get that is running; it then throws.
    virtual void Abort() = 0;
};
