#pragma once

#include "app/NetworkRigControl.h"
#include "app/RadioChoice.h"
#include "cat/CatLink.h"
#include "cat/CatRadio.h"
#include "cat/ComPortLine.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/OptionsStore.h"
#include "dispatch/SurfaceDispatcher.h"
#include "lights/LightTable.h"
#include "lights/Lights.h"
#include "mapedit/KeyMapEditors.h"
#include "midi/ControllerTranslator.h"
#include "midi/LearnedControls.h"
#include "update/SystemInstallerLauncher.h"

#include <QPointer>
#include <functional>

class CatPoll;
class IAlerts;
class ILogSink;
class ISettingsStore;
class MidiDeviceWatch;
class MidiInput;
class MidiOutput;
class MidiSetupWindow;
class NumberedError;
class QWidget;
class RigctlServer;
class UpdateWindow;

// Everything the main window wires together, built in the order the parts
// need each other: the options they share, the radio on the program's own
// CAT link with its link and poll, the choice between it and a radio through
// Hamlib, the key maps, the dispatcher and the MIDI input that feeds it
// (through the learned controls), the watch that brings a lost MIDI device
// back, the output to the controller and its lights, the key map editors,
// the updater's launcher and the network rig control. The QObject parts and the windows opened later are children of
// `owner`. UI thread only.
struct ProgramParts {
    using Step = std::function<void(const std::function<void()>& body)>;

    // `portMarks` shows the COM port chosen in the port menu.
    ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts, ILogSink& catLog, ILogSink& midiLog,
                 RadioChoice::PortMarks portMarks);

    Options options;
    OptionsStore settings;
    ComPortLine port;
    // Made before its link, which hands it the radio's replies.
    CatRadio catRadio;
    CatLink link;
    CatPoll* poll;
    RadioChoice* radioChoice;
    KeyMap keyMap;
    SurfaceDispatcher dispatcher;
    LearnedControls learned;
    ControllerTranslator translator;
    MidiInput* midi;
    MidiDeviceWatch* watch;
    LightTable lightTable;
    MidiOutput* output;
    Lights lights;
    KeyMapEditors editors;
    SystemInstallerLauncher launcher;
    RigctlServer* rigServer;
    NetworkRigControl rigControl;
    QPointer<MidiSetupWindow> setup;
    QPointer<UpdateWindow> updater;

    // The radio in use.
    IRadio& radio() { return radioChoice->chosen(); }

    // Start-up: reads the options the parts run on (poll intervals, the
    // automatic connection, the rig type, the key maps, the learned controls)
    // and writes them straight back; each in a `step` of its own, and an
    // interval that cannot be used handed to `report` in favour of its default.
    void LoadOptions(const Step& step, const std::function<void(const NumberedError&)>& report);
    // The MIDI setup window, made when first wanted, as a window of `parent`.
    MidiSetupWindow& SetupWindow(QWidget& parent);
    // Closes the setup window and the key map editors.
    void CloseWindows();

private:
    // Entries of a section that cannot be read, shown in one box (none: no box).
    void ReportUnreadable(const QStringList& entries, const QString& what, const QString& section,
                          const QString& help);
    // The learning commands of the MIDI setup window.
    void ConnectLearning(MidiSetupWindow& setup);
    // The output and its lights follow the input and the radio.
    void WireLights();
    // The output chosen, or with the automatic connection on and none chosen,
    // the input's device if it has one.
    void UseOutput();
    // The output choice and the lights window of the MIDI setup window.
    void ConnectLights(MidiSetupWindow& setup);


    ISettingsStore& store_;
    IAlerts& alerts_;
};
