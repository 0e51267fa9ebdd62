#pragma once

#include "rigctl/RigctlSession.h"

#include <QObject>

class QTcpSocket;

// One client of the network rig control: takes its request lines off the
// socket and writes the session's answers back. A line longer than
// kMaxLineBytes ends the connection; while the client leaves kMaxUnreadBytes
// of answers unread, its further requests wait in the socket, so a client
// that never reads holds no more than that. A request cut off by a vanishing
// client is never carried out. UI thread only.
class RigctlConnection : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLineBytes = 1024;
    static constexpr qint64 kMaxUnreadBytes = 64 * 1024;

    // Takes ownership of `socket`.
    RigctlConnection(QTcpSocket* socket, RadioState& radio, const Options& options,
                     ICatSender& cat, const ILinkState& link, QObject* parent = nullptr);
    ~RigctlConnection() override;

    // Closes the connection at once, without a word to the client.
    void Drop();

signals:
    // The connection is closed; the server deletes it.
    void finished();

private:
    void TakeRequests();
    void Answer(const QByteArray& line);

    QTcpSocket* socket_;
    RigctlSession session_;
};
