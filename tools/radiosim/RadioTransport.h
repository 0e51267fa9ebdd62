#pragma once

#include <QByteArray>
#include <QString>

// What carries the radio's CAT line to the program: a pseudo-terminal or a
// TCP connection. RadioLine sends through it.
class RadioTransport {
public:
    virtual ~RadioTransport() = default;

    // Bytes that have crossed the line; the transport keeps what it cannot pass on yet.
    virtual void Transmit(const QByteArray& bytes) = 0;
    // True while bytes handed over earlier are still waiting for the program to read them.
    virtual bool Backlogged() const = 0;
    // What is wrong with the program's line settings; empty while they are right
    // or where a transport has none.
    virtual QString WrongLineSettings() const { return QString(); }
};
