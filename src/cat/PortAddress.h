#pragma once

#include <QString>

class ISettingsStore;

// What each of COM1 to COM16 stands for: the value stored under [ports] comN,
// by default /dev/ttyUSB<N-1> (COM<N> on Windows). A device path (a
// pseudo-terminal included) is a serial line; tcp://host:port is a radio
// reached over the network.
class PortAddress {
public:
    static QString Section() { return QStringLiteral("ports"); }
    static QString KeyFor(int comNumber) { return QStringLiteral("com%1").arg(comNumber); }
    // The device or address that COM `comNumber` stands for.
    static QString For(const ISettingsStore& settings, int comNumber);
    // True for a tcp:// address (whether well formed or not).
    static bool IsNetwork(const QString& address);
};
