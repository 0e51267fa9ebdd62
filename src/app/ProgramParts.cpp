#include "app/ProgramParts.h"

#include "cat/CatPoll.h"
#include "core/IAlerts.h"
#include "core/RuntimeError.h"
#include "midi/MidiDeviceWatch.h"
#include "midi/MidiInput.h"
#include "midi/frmConfig_Midi.h"
#include "midi/frmLearnControls.h"
#include "rigctl/RigctlServer.h"
#include "update/frmUpdater.h"

#include <QWidget>

ProgramParts::ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts,
                           ILogSink& catLog, IIndicator& catLamp, ILogSink& midiLog)
    : settings(store, options),
      port(store),
      parser(radio, catLamp, alerts),
      link(port, catLog, catLamp, alerts, radio, parser),
      poll(new CatPoll(link, alerts, nullptr, &owner)),
      translator(keyMap, radio, options, link, alerts, midiLog),
      learned(store),
      midi(new MidiInput(midiLog, alerts,
                         [this](const MidiEvent& event) { translator.ProcessMIDI(learned.Apply(event)); },
                         &owner)),
      watch(new MidiDeviceWatch(*midi, midiLog, &owner)),
      editors(keyMap, store, alerts, &owner),
      rigServer(new RigctlServer(radio, options, link, link, &owner)),
      rigControl(settings, *rigServer, alerts)
{
}

void ProgramParts::LoadLearnedControls(IAlerts& alerts)
{
    const QStringList unreadable = learned.Load();
    if (unreadable.isEmpty())
        return;
    alerts.MsgBox(QStringLiteral("These learned controls in section [%1] of the settings file "
                                 "cannot be read and are ignored:\n%2\n\nA control is learned "
                                 "as a data byte in two hexadecimal digits (00 to 7F), each byte "
                                 "for one control only. Learn the controls again to replace them.")
                      .arg(LearnedControls::Section(), unreadable.join(QLatin1Char('\n'))),
                  IAlerts::Buttons::Ok, IAlerts::Icon::Information);
}

void ProgramParts::ConnectLearning(frmConfig_Midi& setup, IAlerts& alerts)
{
    QObject::connect(&setup, &frmConfig_Midi::learnControlsWanted, &setup, [this, &setup, &alerts] {
        (new frmLearnControls(*midi, learned, alerts, &setup))->show();
    });
    QObject::connect(&setup, &frmConfig_Midi::forgetControlsWanted, &setup, [this, &alerts] {
        RunGuarded(alerts, QStringLiteral("cmdForget_click"), [this] { learned.Forget(); });
    });
}
