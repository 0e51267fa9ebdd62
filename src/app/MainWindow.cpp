#include "app/MainWindow.h"

#include "app/ProgramParts.h"
#include "app/WindowPlacement.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "core/SettingsBatch.h"
#include "midi/MidiInput.h"
#include "midi/MidiSetupWindow.h"
#include "update/UpdateWindow.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/LogView.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {
// How long the MIDI setup window stays open for the automatic connection at start-up.
constexpr int kAutoconnectShowMs = 100;

QWidget* Place(QWidget* widget, const char* name, const QRect& twips)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twips);
    return widget;
}
} // namespace

MainWindow::MainWindow(ISettingsStore& store, IAlerts& alerts, QWidget* parent)
    : QMainWindow(parent), store_(store), alerts_(alerts)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Vorn-MIDI Connector"));
    FormFont::Apply(*this);
    BuildControls();
    parts_ = std::make_unique<ProgramParts>(*this, store_, alerts_, *catLog_, *midiLog_,
                                            [this](int number) { menus_->ShowPort(number); });
    menus_ = new MainMenus(*menuBar(), *this, *parts_, store_, alerts_, [this] { emit programEnded(); });
    CaptionFit::Apply(*this);
    WireLamps();
    alerts_.SetRepeatLog(midiLog_);
}

MainWindow::~MainWindow()
{
    // Editors and the setup window refer to the parts; they go first.
    parts_->CloseWindows();
    parts_->radioChoice->StopPoll();
    parts_->midi->Close();
    alerts_.SetRepeatLog(nullptr);
}

void MainWindow::BuildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(Twips::ToPixels(4680), Twips::ToPixels(4680));
    setCentralWidget(client);
    Place(new QLabel(QStringLiteral("MIDI Received Data"), client), "midiLogLabel", Twips::Rect(1560, 120, 1575, 255));
    midiLog_ = new LogView(client);
    Place(midiLog_, "midiLog", Twips::Rect(120, 360, 4455, 1215));
    Place(new QLabel(QStringLiteral("CAT Received Data"), client), "catLogLabel", Twips::Rect(1560, 1680, 1575, 255));
    catLog_ = new LogView(client);
    Place(catLog_, "catLog", Twips::Rect(120, 1920, 4455, 1935));
    Place(new QLabel(QStringLiteral("MIDI Connected"), client), "midiLampLabel", Twips::Rect(120, 3960, 1455, 255));
    midiLamp_ = new Lamp(client);
    Place(midiLamp_, "midiLamp", Twips::Rect(1680, 3960, 375, 255));
    auto* midiSetup = new WrappingButton(QStringLiteral("&Midi Setup"), client);
    Place(midiSetup, "midiSetupButton", Twips::Rect(2640, 4080, 855, 495));
    auto* exit = new WrappingButton(QStringLiteral("E&xit"), client);
    Place(exit, "exitButton", Twips::Rect(3720, 4080, 855, 495));
    Place(new QLabel(QStringLiteral("CAT Connected"), client), "catLampLabel", Twips::Rect(120, 4320, 1455, 255));
    catLamp_ = new Lamp(client);
    Place(catLamp_, "catLamp", Twips::Rect(1680, 4320, 375, 255));

    connect(midiSetup, &QPushButton::clicked, this, [this] { PressMidiSetup(); });
    connect(exit, &QPushButton::clicked, this, &MainWindow::PressExit);
}

void MainWindow::WireLamps()
{
    connect(parts_->midi, &MidiInput::connectedChanged, midiLamp_, &Lamp::ShowConnected);
    // The CAT lamp shows whether the radio in use answers, whatever the road to it.
    connect(&parts_->radio(), &IRadio::stateChanged, catLamp_,
            [this](RadioState::Fields fields, const RadioState&, const RadioState& after) {
                if (fields.testFlag(RadioState::Field::Answering))
                    catLamp_->ShowConnected(after.answering);
            });
}

void MainWindow::Start()
{
    const auto step = [this](const std::function<void()>& body) { StartStep(body); };
    // The settings read here are written straight back (about 130 of them on
    // a first start): they reach the file together, in one write.
    SettingsBatch writeBack(store_);
    step([&] { PlaceAtStoredPosition(); });
    step([&] { menus_->SelectStoredPort(); });
    step([&] { parts_->radioChoice->AskForMissingPort(); });
    parts_->LoadOptions(step, [this](const NumberedError& e) { ReportFailure(alerts_, Routine::MainWindowLoad, e); });
    menus_->ShowOptions();
    step([&] { writeBack.Commit(); });
    step([&] { parts_->rigControl.Load(menus_->Item(MainMenus::Command::RigControl)); });
    if (ended_)
        return;
    step([&] { parts_->radioChoice->StartPoll(); });
    midiLamp_->ShowConnected(false);
    catLamp_->ShowConnected(parts_->radio().State().answering);
    if (parts_->options.Autoconnect())
        step([&] { ConnectMidiAutomatically(); });
}

void MainWindow::StartStep(const std::function<void()>& body)
{
    // Each step reports its own failure and start-up goes on, so one unreadable
    // setting never leaves the key maps unloaded or the timers unset. Once the
    // program is ended from outside (during a start-up box) no step runs.
    if (!ended_)
        ReportFailures(alerts_, Routine::MainWindowLoad, body);
}

void MainWindow::ConnectMidiAutomatically()
{
    // The setup window's load steps make the connection; it is shown a
    // moment, as it always was, but its monitor does not take the surface's
    // messages meanwhile: they go to the radio.
    ShowMidiSetup();
    parts_->setup->StopMonitor();
    QTimer::singleShot(kAutoconnectShowMs, parts_->setup, [this] {
        if (parts_->setup)
            parts_->setup->close();
    });
}

void MainWindow::PlaceAtStoredPosition()
{
    const QPoint stored = WindowPlacement::Stored(
        parts_->settings, [this](const NumberedError& e) { ReportFailure(alerts_, Routine::MainWindowLoad, e); });
    move(WindowPlacement::OnScreens(stored, sizeHint().width()));
    placed_ = true;
}

void MainWindow::StorePosition()
{
    // Ended before start-up placed the window: the stored position stays.
    if (placed_)
        WindowPlacement::Store(parts_->settings, pos());
}

void MainWindow::ShowMidiSetup()
{
    MidiSetupWindow& setup = parts_->SetupWindow(*this);
    setup.show();
    setup.raise();
    setup.activateWindow();
}

MidiSetupWindow* MainWindow::PressMidiSetup()
{
    ReportFailures(alerts_, Routine::ShowMidiSetup, [&] { ShowMidiSetup(); });
    return parts_->setup;
}

void MainWindow::Shutdown()
{
    parts_->midi->Close();
    StorePosition();
    parts_->CloseWindows();
}

void MainWindow::PressExit()
{
    if (ReportFailures(alerts_, Routine::Exit, [&] { Shutdown(); }))
        close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Closed again after the end (by the session or a signal): nothing is left to do.
    if (ended_)
        return;
    // Nobody may be there to answer a box on the way out (a signal, the end of
    // the session), so a failure goes to standard error.
    const auto report = [](qint64 number, const QString& description) {
        std::fprintf(stderr, "vorn-midi-connector: %s\n",
                     qPrintable(FailureText(Routine::EndProgram, number, description)));
    };
    try {
        Shutdown();
    } catch (const NumberedError& e) {
        report(e.number(), e.description());
    } catch (const std::exception& e) {
        report(NumberedError::kInternal, QString::fromLocal8Bit(e.what()));
    }
    parts_->radioChoice->StopPoll();
    parts_->midi->Close();
    if (parts_->updater)
        parts_->updater->close();
    ended_ = true;
    emit programEnded();
}
