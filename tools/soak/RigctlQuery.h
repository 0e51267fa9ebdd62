#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

// Hamlib's rigctl as a logger runs it once from a shell, against a server of
// the rigctld protocol on 127.0.0.1, without its cache: every read is a
// question to the server.
class RigctlQuery {
public:
    using Answer = std::function<void(const QString& output)>;

    // Runs `rigctl -m 2 -r 127.0.0.1:port commands...` and hands what it
    // printed to `then` (empty when it failed or took longer than `timeoutMs`).
    static void Run(QObject* owner, quint16 port, const QStringList& commands, Answer then, int timeoutMs = 10000);
    // The frequency an answer to `f` gives, if it gives one.
    static std::optional<qint64> Frequency(const QString& output);
};
