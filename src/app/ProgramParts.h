#pragma once

#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPort.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/OptionsStore.h"
#include "core/RadioState.h"
#include "mapedit/MapEditors.h"
#include "translation/Translator.h"
#include "update/SystemInstallerLauncher.h"

#include <QPointer>

class CatPoll;
class IAlerts;
class IIndicator;
class ILogSink;
class ISettingsStore;
class MidiInput;
class QWidget;
class frmConfig_Midi;
class frmUpdater;

// Everything the main window wires together, built in the order the parts
// need each other: the options and radio state they share, the CAT link and
// its poll, the key maps, the translation and the MIDI input that feeds it,
// the key map editors and the updater's launcher. The QObject parts and the
// windows opened later are children of `owner`. UI thread only.
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
    MidiInput* midi;
    MapEditors editors;
    SystemInstallerLauncher launcher;
    QPointer<frmConfig_Midi> setup;
    QPointer<frmUpdater> updater;
};
