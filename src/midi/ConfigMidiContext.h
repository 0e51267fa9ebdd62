#pragma once

class IAlerts;
class IIndicator;
class MapEditors;
class MidiFunctions;
class QTimer;
struct Options;

// What the MIDI setup window uses of the main window: its event pump timer,
// its MIDI lamp, its options (mautoconnect, rigtype), the MIDI module, the
// key map editors and the message boxes. Everything must outlive the window.
struct ConfigMidiContext {
    QTimer& tmrMIDI;
    IIndicator& shpMidiEnabled;
    const Options& options;
    MidiFunctions& midi;
    MapEditors& mapEditors;
    IAlerts& alerts;
};
