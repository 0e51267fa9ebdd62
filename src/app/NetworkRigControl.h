#pragma once

#include <QString>

class IAlerts;
class OptionsStore;
class QAction;
class RigctlServer;

// The Options menu item "Network Rig Control": serves the radio to other
// programs through the rigctld-compatible server. The choice is stored at once
// (key "rigctld"), the port beside it ("rigctldport", 4532 by default); the
// address ("rigctldaddress") is 127.0.0.1 unless the settings file names
// another. The item's check mark shows whether the server runs: a stored port
// or address that is no such thing, or a port another program holds, is
// reported in a box and the server stays off, with the stored choice kept for
// the next start. UI thread only.
class NetworkRigControl {
public:
    NetworkRigControl(OptionsStore& settings, RigctlServer& server, IAlerts& alerts);

    // At start-up: reads the three settings, names the address and port in the
    // item, starts the server when the choice is on, and writes the choice and
    // the port back. Failures to read or write the settings are thrown.
    void Load(QAction& item);
    // The item was clicked (its check mark already changed): store, then start
    // or stop; a failing store is reported and leaves the change in effect.
    void Toggle(QAction& item);

private:
    void StartOrStop(QAction& item);
    void Tell(const QString& text);

    OptionsStore& settings_;
    RigctlServer& server_;
    IAlerts& alerts_;
};
