#pragma once

#include "core/ReentryGuard.h"
#include "rigctl/RigctlSession.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// One client of the network rig control: takes its request lines off the
// socket and writes the session's answers back. A line longer than
// kMaxLineBytes ends the connection; while the client leaves kMaxUnreadBytes
// of answers unread, its further requests wait in the socket, so a client
// that never reads holds no more than that. A request cut off by a vanishing
// client is never carried out. A client that sends nothing and reads nothing
// for the idle limit is dropped (Hamlib's clients connect again). UI thread only.
class RigctlConnection : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLineBytes = 1024;
    static constexpr qint64 kMaxUnreadBytes = 64 * 1024;

    // Takes ownership of `socket`.
    RigctlConnection(QTcpSocket* socket, IRadio& radio, const Options& options,
                     int idleLimitMs,
                     QObject* parent = nullptr);
    ~RigctlConnection() override;

    // Closes the connection at once, without a word to the client.
    void Drop();
    // Milliseconds since the client last sent a request or took an answer.
    qint64 IdleMs() const { return lastActivity_.elapsed(); }

signals:
    // The connection is closed; the server deletes it.
    void finished();

private:
    void TakeRequests();
    void TakeWaitingRequests();
    void Answer(const QByteArray& line);
    void Touch();
    void OnDisconnected();

    QTcpSocket* socket_;
    RigctlSession session_;
    QElapsedTimer lastActivity_;
    QTimer idleTimer_;
    ReentryGuard answering_;
    bool goneWhileAnswering_ = false;
};
