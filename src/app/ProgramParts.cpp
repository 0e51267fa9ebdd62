#include "app/ProgramParts.h"

#include "cat/CatPoll.h"
#include "midi/MidiInput.h"
#include "midi/frmConfig_Midi.h"
#include "update/frmUpdater.h"

#include <QWidget>

ProgramParts::ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts,
                           ILogSink& catLog, IIndicator& catLamp, ILogSink& midiLog)
    : settings(store, options),
      port(store),
      parser(radio, catLamp, alerts),
      link(port, catLog, catLamp, alerts, radio, parser),
      poll(new CatPoll(link, alerts, nullptr, &owner)),
      translator(keyMap, radio, options, link, alerts),
      midi(new MidiInput(midiLog, alerts,
                         [this](const MidiEvent& event) { translator.ProcessMIDI(event); }, &owner)),
      editors(keyMap, store, alerts, &owner)
{
}
