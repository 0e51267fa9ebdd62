#pragma once

#include <QByteArray>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A TCP relay on 127.0.0.1 between a client and a line-based server (the
// program's NET rigctl and rigctld) that stamps every line as it passes, in
// both directions. It runs on a thread of its own, so the stamps are the
// moments the bytes came off the wire, whatever the program's threads are
// doing. Each client connection gets a connection of its own to the server.
class LineTap {
public:
    using Clock = std::chrono::steady_clock;
    struct Line {
        Clock::time_point at;  // when its '\n' was read
        bool fromClient;
        QByteArray text;       // without the '\n'
    };

    explicit LineTap(quint16 serverPort) : serverPort_(serverPort)
    {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = Loopback(0);
        socklen_t size = sizeof address;
        if (pipe2(stop_, O_CLOEXEC) != 0 || bind(listener_, Sockaddr(address), size) != 0 ||
            listen(listener_, 4) != 0 || getsockname(listener_, Sockaddr(address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~LineTap()
    {
        if (thread_.joinable()) {
            const char byte = 0;
            (void)!write(stop_[1], &byte, 1);
            thread_.join();
        }
        for (const Pipe& pipe : pipes_)
            close(pipe.client), close(pipe.server);
        for (int fd : {listener_, stop_[0], stop_[1]})
            if (fd >= 0)
                close(fd);
    }
    // The port the client connects to; 0 when the tap could not listen.
    quint16 port() const { return port_; }

    // Every line that has passed so far, in the order they passed.
    std::vector<Line> Lines() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

private:
    // One client connection and its own connection to the server, with the
    // part of a line each side has sent so far.
    struct Pipe {
        int client, server;
        QByteArray fromClient, fromServer;
    };

    static sockaddr_in Loopback(quint16 port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }
    static sockaddr* Sockaddr(sockaddr_in& address) { return reinterpret_cast<sockaddr*>(&address); }
    // The relay must not hold back a short line waiting for more to send with it.
    static void NoDelay(int fd)
    {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }

    void Run()
    {
        for (;;) {
            std::vector<pollfd> ready{{stop_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
            for (const Pipe& pipe : pipes_)
                ready.push_back({pipe.client, POLLIN, 0}), ready.push_back({pipe.server, POLLIN, 0});
            if (poll(ready.data(), ready.size(), -1) < 0 || ready[0].revents)
                return;
            if (ready[1].revents)
                Accept();
            for (std::size_t i = pipes_.size(); i-- > 0;) {
                const bool fromClient = ready[2 + 2 * i].revents, fromServer = ready[3 + 2 * i].revents;
                if ((fromClient && !Relay(pipes_[i], true)) || (fromServer && !Relay(pipes_[i], false))) {
                    close(pipes_[i].client), close(pipes_[i].server);
                    pipes_.erase(pipes_.begin() + std::ptrdiff_t(i));
                }
            }
        }
    }

    void Accept()
    {
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = Loopback(serverPort_);
        if (client < 0 || connect(server, Sockaddr(address), sizeof address) != 0) {
            close(client), close(server);
            return;
        }
        NoDelay(client), NoDelay(server);
        pipes_.push_back({client, server, {}, {}});
    }

    // Passes what one side sent to the other; false once either side is gone.
    bool Relay(Pipe& pipe, bool fromClient)
    {
        char bytes[4096];
        const ssize_t count = read(fromClient ? pipe.client : pipe.server, bytes, sizeof bytes);
        const Clock::time_point now = Clock::now();
        const int to = fromClient ? pipe.server : pipe.client;
        if (count <= 0 || send(to, bytes, std::size_t(count), MSG_NOSIGNAL) != count)
            return false;
        QByteArray& partial = fromClient ? pipe.fromClient : pipe.fromServer;
        partial.append(bytes, int(count));
        const std::lock_guard<std::mutex> lock(mutex_);
        for (int end; (end = partial.indexOf('\n')) >= 0; partial.remove(0, end + 1))
            lines_.push_back({now, fromClient, partial.left(end)});
        return true;
    }

    const quint16 serverPort_;
    quint16 port_ = 0;
    int listener_ = -1;
    int stop_[2] = {-1, -1};
    std::vector<Pipe> pipes_;  // the tap's thread only
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::thread thread_;
};
