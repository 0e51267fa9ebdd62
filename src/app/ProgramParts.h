#pragma once

#include "app/NetworkRigControl.h"
#include "app/RadioChoice.h"
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatRadio.h"
#include "cat/ComPortLine.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/OptionsStore.h"
#include "core/RadioState.h"
#include "mapedit/KeyMapEditors.h"
#include "midi/LearnedControls.h"
#include "dispatch/SurfaceDispatcher.h"
#include "update/SystemInstallerLauncher.h"

#include <QPointer>

class CatPoll;
class IAlerts;
class ILamp;
class ILogSink;
class ISettingsStore;
class MidiDeviceWatch;
class MidiInput;
class QWidget;
class RigctlServer;
class MidiSetupWindow;
class UpdateWindow;

// Everything the main window wires together, built in the order the parts
// need each other: the options and radio state they share, the CAT link, the
// radio on it and the poll, the choice between it and a radio through Hamlib, the key maps, the dispatcher and the MIDI input that feeds it
// (through the learned controls), the watch that brings a lost MIDI device
// back, the key map editors, the updater's launcher and the network rig
// control. The QObject parts and the windows opened later are children of
// `owner`. UI thread only.
struct ProgramParts {
    // `portMarks` shows the COM port chosen in the port menu.
    ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts, ILogSink& catLog,
                 ILamp& catLamp, ILogSink& midiLog, RadioChoice::PortMarks portMarks);

    Options options;
    OptionsStore settings;
    RadioState state;
    ComPortLine port;
    CatParser parser;
    CatLink link;
    CatRadio catRadio;
    CatPoll* poll;
    RadioChoice* radioChoice;
    KeyMap keyMap;
    SurfaceDispatcher dispatcher;
    LearnedControls learned;
    MidiInput* midi;
    MidiDeviceWatch* watch;
    KeyMapEditors editors;
    SystemInstallerLauncher launcher;
    RigctlServer* rigServer;
    NetworkRigControl rigControl;
    QPointer<MidiSetupWindow> setup;
    QPointer<UpdateWindow> updater;

    // Reads the learned controls; unreadable entries are shown in one box and ignored.
    void LoadLearnedControls(IAlerts& alerts);
    // The learning commands of the MIDI setup window.
    void ConnectLearning(MidiSetupWindow& setup, IAlerts& alerts);
};
