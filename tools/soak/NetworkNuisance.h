#pragma once

#include <QObject>
#include <functional>

// Network clients that misbehave: one that floods the server with reads as
// fast as the socket takes them, one that leaves in the middle of a request.
class NetworkNuisance : public QObject {
    Q_OBJECT
public:
    static constexpr int kFloodRequests = 5000;

    NetworkNuisance(quint16 port, QObject* parent = nullptr);

    // kFloodRequests "f" at once; `then` gets how many were answered before
    // the answers stopped coming.
    void Flood(std::function<void(int answered)> then);
    // "F 14" without its line end, and gone; `then` once the socket closed.
    void LeaveMidRequest(std::function<void()> then);

private:
    quint16 port_;
};
