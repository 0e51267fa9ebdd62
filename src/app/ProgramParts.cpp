#include "app/ProgramParts.h"

#include "cat/CatPoll.h"
#include "core/IAlerts.h"
#include "core/FailureReport.h"
#include "midi/MidiDeviceWatch.h"
#include "midi/MidiInput.h"
#include "midi/MidiSetupWindow.h"
#include "midi/LearnControlsDialog.h"
#include "rigctl/RigctlServer.h"
#include "update/UpdateWindow.h"

#include <QWidget>

ProgramParts::ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts,
                           ILogSink& catLog, ILamp& catLamp, ILogSink& midiLog, RadioChoice::PortMarks portMarks)
    : settings(store, options),
      port(store),
      parser(state, catLamp, alerts, options),
      link(port, catLog, catLamp, alerts, state, parser),
      catRadio(link, parser, state, options),
      poll(new CatPoll(link, alerts, nullptr, &owner)),
      radioChoice(new RadioChoice(settings, state, link, *poll, catRadio, catLamp, catLog, alerts, std::move(portMarks),
                            &owner)),
      dispatcher(keyMap, state, options, radioChoice->chosen(), alerts, midiLog),
      learned(store),
      midi(new MidiInput(midiLog, alerts,
                         [this](const MidiEvent& event) { dispatcher.Dispatch(learned.Apply(event)); }, &owner)),
      watch(new MidiDeviceWatch(*midi, midiLog, &owner)),
      editors(keyMap, store, alerts, &owner),
      rigServer(new RigctlServer(radioChoice->chosen(), state, options, &owner)),
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

void ProgramParts::ConnectLearning(MidiSetupWindow& setup, IAlerts& alerts)
{
    QObject::connect(&setup, &MidiSetupWindow::learnControlsWanted, &setup, [this, &setup, &alerts] {
        (new LearnControlsDialog(*midi, learned, alerts, &setup))->show();
    });
    QObject::connect(&setup, &MidiSetupWindow::forgetControlsWanted, &setup, [this, &alerts] {
        ReportFailures(alerts, Routine::ForgetControls, [this] { learned.Forget(); });
    });
}
