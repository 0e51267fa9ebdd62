#include "app/ProgramParts.h"

#include "app/IntervalQuestion.h"
#include "cat/CatPoll.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "midi/LearnControlsDialog.h"
#include "midi/MidiDeviceWatch.h"
#include "lights/LightsWindow.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/MidiSetupWindow.h"
#include "rigctl/RigctlServer.h"
#include "update/UpdateWindow.h"

#include <QWidget>

namespace {
using Key = Options::Key;
}

ProgramParts::ProgramParts(QWidget& owner, ISettingsStore& store, IAlerts& alerts, ILogSink& catLog,
                           ILogSink& midiLog, RadioChoice::PortMarks portMarks)
    : settings(store, options),
      port(store),
      catRadio(link, alerts, options, &owner),
      link(port, catLog, alerts, catRadio),
      poll(new CatPoll(link, alerts, nullptr, &owner)),
      radioChoice(new RadioChoice(settings, link, *poll, catRadio, catLog, alerts, std::move(portMarks), &owner)),
      dispatcher(keyMap, options, radio(), alerts, midiLog),
      learned(store),
      translator(learned),
      midi(new MidiInput(midiLog, alerts,
                         [this](const MidiEvent& event) {
                             translator.Translate(event, [this](const MidiEvent& surface) { dispatcher.Dispatch(surface); });
                         },
                         &owner)),
      watch(new MidiDeviceWatch(*midi, midiLog, QStringLiteral("MIDI device"), &owner)),
      lightTable(store),
      output(new MidiOutput(midiLog, &owner)),
      lights(lightTable, keyMap, options, learned, [this](const MidiEvent& message) { output->Send(message); }),
      editors(keyMap, store, alerts, &owner),
      rigServer(new RigctlServer(radio(), options, &owner)),
      rigControl(settings, *rigServer, alerts),
      store_(store),
      alerts_(alerts)
{
    WireLights();
}

void ProgramParts::WireLights()
{
    QObject::connect(midi, &MidiInput::connectedChanged, watch, [this](bool connected) {
        if (!connected)
            return;
        watch->Watch();
        UseOutput();
    });
    QObject::connect(midi, &MidiInput::closed, watch, [this] {
        watch->Stop();
        lights.AllOff();
        output->Close();
    });
    QObject::connect(output, &MidiOutput::opened, output, [this] { lights.ShowAll(radio().State()); });
    QObject::connect(&radio(), &IRadio::stateChanged, output, [this] { lights.Show(radio().State()); });
}

void ProgramParts::UseOutput()
{
    const QString chosen = options.Text(Key::MidiOutput).trimmed();
    if (!chosen.isEmpty() || !options.Autoconnect())
        output->Use(chosen);
    else
        output->Use(MidiDeviceList::NameOf(midi->PortName(), midi->Api()), MidiOutput::IfAbsent::LetItBe);
}

void ProgramParts::LoadOptions(const Step& step, const std::function<void(const NumberedError&)>& report)
{
    step([&] {
        settings.Load(Key::PollTime);
        radioChoice->StopPoll();
        radioChoice->SetPollInterval(IntervalQuestion::StoredOrDefault(options, Key::PollTime, report));
        settings.Store(Key::PollTime);
    });
    for (const Key key : {Key::Autoconnect, Key::RigType}) {
        step([&] {
            settings.Load(key);
            settings.Store(key);
        });
    }
    step([&] { keyMap.Load(store_); });
    step([&] {
        ReportUnreadable(learned.Load(), QStringLiteral("learned controls"), LearnedControls::Section(),
                         QStringLiteral("A control is learned as its kind, channel and number (\"cc 2 0A\", "
                                        "\"note 1 24\", \"bend 1\"; a wheel with its encoding, \"cc 2 0A twos\"), "
                                        "or as a number alone in two hexadecimal digits (00 to 7F), each for one "
                                        "control only. Learn the controls again to replace them."));
    });
    step([&] {
        settings.Load(Key::MidiOutput);
        settings.Store(Key::MidiOutput);
    });
    step([&] {
        ReportUnreadable(lightTable.Load(), QStringLiteral("lights"), LightTable::Section(),
                         QStringLiteral("A light is a note or control change with its channel, number, on and off "
                                        "values (\"cc 1 01 7F 00\", \"note 2 24 7F 00\"), or \"none\". Their "
                                        "buttons' own lights stand for them until they are set again in the Lights "
                                        "window."));
    });
    step([&] {
        settings.Load(Key::MidiPollTime);
        midi->StopPump();
        midi->SetPumpInterval(IntervalQuestion::StoredOrDefault(options, Key::MidiPollTime, report));
        settings.Store(Key::MidiPollTime);
    });
}

void ProgramParts::ReportUnreadable(const QStringList& entries, const QString& what, const QString& section,
                                    const QString& help)
{
    if (entries.isEmpty())
        return;
    alerts_.Tell(QStringLiteral("These %1 in section [%2] of the settings file cannot be read and are ignored:"
                                "\n%3\n\n%4")
                     .arg(what, section, entries.join(QLatin1Char('\n')), help),
                 IAlerts::Icon::Information);
}

MidiSetupWindow& ProgramParts::SetupWindow(QWidget& parent)
{
    if (!setup) {
        // Its load steps, the automatic connection among them, run here.
        setup = new MidiSetupWindow(*midi, *output, options, alerts_, &parent);
        setup->setWindowFlag(Qt::Window);
        QObject::connect(setup, &MidiSetupWindow::keyMapWanted, setup, [this] {
            if (const std::optional<RigType> rig = options.Rig())
                editors.Show(*rig);
        });
        ConnectLearning(*setup);
        ConnectLights(*setup);
    }
    return *setup;
}

void ProgramParts::ConnectLearning(MidiSetupWindow& window)
{
    QObject::connect(&window, &MidiSetupWindow::learnControlsWanted, &window, [this, &window] {
        (new LearnControlsDialog(*midi, learned, alerts_, &window))->show();
    });
    QObject::connect(&window, &MidiSetupWindow::forgetControlsWanted, &window, [this] {
        ReportFailures(alerts_, Routine::ForgetControls, [this] { learned.Forget(); });
    });
}

void ProgramParts::ConnectLights(MidiSetupWindow& window)
{
    QObject::connect(&window, &MidiSetupWindow::outputChosen, &window, [this](const QString& name) {
        settings.Set(Key::MidiOutput, name);
        if (!midi->IsOpen())
            return;
        lights.AllOff();
        UseOutput();
    });
    QObject::connect(&window, &MidiSetupWindow::lightsWanted, &window, [this, &window] {
        auto* lightsWindow =
            new LightsWindow(lightTable, LightTable::ButtonsOwn(keyMap, options.Rig(), learned.table()), alerts_, &window);
        QObject::connect(lightsWindow, &LightsWindow::saved, output, [this] { lights.Show(radio().State()); });
        lightsWindow->show();
    });
}

void ProgramParts::CloseWindows()
{
    if (setup)
        delete setup;
    editors.CloseAll();
}
