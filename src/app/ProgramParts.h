#pragma once

#include "app/NetworkRigControl.h"
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPort.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/OptionsStore.h"
#include "core/RadioState.h"
#include "mapedit/MapEditors.h"
#include "midi/LearnedControls.h"
#include "translation/Translator.h"
#include "update/SystemInstallerLauncher.h"

#include <QPointer>

class CatPoll;
class IAlerts;
class IIndicator;
class ILogSink;
class ISettingsStore;
class MidiDeviceWatch;
class MidiInput;
class QWidget;
class RigctlServer;
class frmConfig_Midi;
class frmUpdater;

// Everything the main window wires together, built in the order the parts
// need each other: the options and radio state they share, the CAT link and
// its poll, the key maps, the translation and the MIDI input that feeds it
// (through the learned controls), the watch that brings a lost MIDI device
// back, the key map editors, the updater's launcher and the network rig
// control. The QObject parts and the windows opened later are children of
// `owner`. UI thread only.
struct ProgramParts {
    ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts, ILogSink& catLog,
                 IIndicator& catLamp, ILogSink& midiLog);

    Options options;
    OptionsStore settings;
    RadioState radio;
    CatPort port;
    CatParser parser;
    CatLink link;
    CatPoll* poll;
    KeyMap keyMap;
    Translator translator;
    LearnedControls learned;
    MidiInput* midi;
    MidiDeviceWatch* watch;
    MapEditors editors;
    SystemInstallerLauncher launcher;
    RigctlServer* rigServer;
    NetworkRigControl rigControl;
    QPointer<frmConfig_Midi> setup;
    QPointer<frmUpdater> updater;

    // Reads the learned controls; unreadable entries are shown in one box and ignored.
    void LoadLearnedControls(IAlerts& alerts);
    // The learning commands of the MIDI setup window.
    void ConnectLearning(frmConfig_Midi& setup, IAlerts& alerts);
};
