#pragma once

#include <QList>
#include <QString>

// How Hamlib reaches a model: a serial line, a network address (host:port),
// or something else (no port at all, a device file, USB).
enum class HamlibPortKind { Serial, Network, Other };

// One radio model Hamlib knows, as a user chooses it.
struct HamlibModel {
    int number = 0;
    QString maker;
    QString name;
    // Hamlib's word for how far the driver has come: "Stable", "Beta", "Alpha", ...
    QString status;
    HamlibPortKind portKind = HamlibPortKind::Other;
    // Serial models: the fastest speed the model takes (Hamlib's default), and
    // the standard speeds from its slowest to its fastest; 0 and none otherwise.
    int defaultSpeed = 0;
    QList<int> speeds;
    // Other models: the port Hamlib uses when none is given (e.g. 127.0.0.1:4532).
    QString defaultPort;
    // VFO B's frequency can be read without switching the radio to VFO B.
    bool readsVfoB = false;
};
