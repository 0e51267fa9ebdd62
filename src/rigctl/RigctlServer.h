#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

class IRadio;
class QTcpServer;
class RigctlConnection;
struct Options;

// The network rig control: a TCP server speaking the protocol of Hamlib's
// rigctld, so loggers and digital-mode programs (Hamlib's "NET rigctl" rig)
// share the radio with the surface. Each client gets a session of its own;
// commands for the radio go to the same radio as the surface's.
// UI thread only.
class RigctlServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 4532;
    // Clients at once. When all places are taken, a new client takes the
    // place of the one quiet longest, if that one has been quiet for
    // kReplaceQuietMs; otherwise it is turned away.
    static constexpr int kMaxClients = 16;
    static constexpr int kReplaceQuietMs = 10 * 1000;
    // A client quiet this long (no request sent, no answer read) is dropped.
    static constexpr int kIdleLimitMs = 2 * 60 * 1000;

    struct Limits {
        int idleMs;
        int replaceQuietMs;
    };

    RigctlServer(IRadio& radio, const Options& options, QObject* parent = nullptr,
                 Limits limits = {kIdleLimitMs, kReplaceQuietMs});
    ~RigctlServer() override;

    // Listens on `address` and `port` (0: any free port), after closing what
    // was open. False, with errorString() set, when it cannot.
    bool Start(const QHostAddress& address, quint16 port);
    // Stops listening and closes every client's connection.
    void Stop();

    bool isListening() const;
    quint16 port() const;
    QString errorString() const;
    int clientCount() const;

private:
    void Accept();
    QList<RigctlConnection*> Connections() const;
    // Makes room for a new client; false when every client is busy.
    bool MakeRoom();

    IRadio& radio_;
    const Options& options_;
    Limits limits_;
    QTcpServer* listener_;
};
