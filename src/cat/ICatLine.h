#pragma once

#include <QByteArray>
#include <functional>

// The line to the radio, numbered like the COM ports COM1 to COM16: a serial
// port or a network connection. Every failure is thrown as a NumberedError whose
// description names the port. UI thread only.
class ICatLine {
public:
    virtual ~ICatLine() = default;

    // True while the port can carry commands and replies.
    virtual bool IsOpen() const = 0;
    // Opens COM `comNumber`: a serial line with 38400,N,8,1, no flow control,
    // RTS and DTR off, or a network connection, which this only begins
    // (IsOpening() until it is made or has failed).
    virtual void Open(int comNumber) = 0;
    virtual void Close() = 0;
    virtual void Write(const QByteArray& data) = 0;
    // Every byte waiting now, possibly none; throws when the port is closed
    // (saying why, when it failed or went away).
    virtual QByteArray ReadAll() = 0;
    // True while a connection is on its way.
    virtual bool IsOpening() const { return false; }
    // Output the line cannot have carried yet: for a serial line the bytes
    // written minus what its rate could have carried since, never less than
    // what the system still queues; for a network line what the socket holds.
    virtual qint64 UnsentBytes() const { return 0; }
    // Runs `then` once: at once when the bytes waiting hold the end of a
    // reply (";"), else from the event loop as soon as they do, or after
    // `milliseconds` at the latest. Never blocks. A port that has everything
    // at once (as a test's does) runs it at once.
    virtual void WhenReplyWaiting(int /*milliseconds*/, std::function<void()> then) { then(); }
};
