#include "app/MainWindow.h"

#include "app/IntervalQuestion.h"
#include "app/PortDevicesDialog.h"
#include "cat/SystemLines.h"
#include "app/ProgramParts.h"
#include "app/WindowPlacement.h"
#include "cat/CatPoll.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "core/IniSettingsStore.h"
#include "core/NumberText.h"
#include "core/ProgramVersion.h"
#include "core/SettingsBatch.h"
#include "desktop/ProgramFiles.h"
#include "midi/MidiInput.h"
#include "midi/MidiSetupWindow.h"
#include "update/UpdateWindow.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/Lamp.h"
#include "widgets/LogView.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QThread>
#include <cmath>
#include <cstdio>

namespace {
using Option = OptionsStore::Option;

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
    BuildMenus();
    CaptionFit::Apply(*this);
    parts_ = std::make_unique<ProgramParts>(*this, store_, alerts_, *catLog_, *catLamp_, *midiLog_,
                                            [this](int n) { SetPortChecks(n); });
    connect(parts_->radioChoice, &RadioChoice::rigTypeChanged, this, [this] { SetRigChecks(parts_->options.rigType); });
    connect(parts_->midi, &MidiInput::connectedChanged, midiLamp_, &Lamp::SetUp);
    alerts_.SetRepeatLog(midiLog_);
}

MainWindow::~MainWindow()
{
    // Editors and the setup window refer to the parts; they go first.
    UnloadOtherWindows();
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

QAction* MainWindow::AddItem(QMenu& menu, const QString& name, const QString& caption, bool checkable,
                             std::function<void()> chosen)
{
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    item->setCheckable(checkable);
    connect(item, &QAction::triggered, this, std::move(chosen));
    return item;
}

void MainWindow::BuildMenus()
{
    QMenu* port = menuBar()->addMenu(QStringLiteral("&CAT Port"));
    items_[Command::NoPort] = AddItem(*port, "noPortItem", "&None", true, [this] { ChooseNoPort(); });
    for (int n = 1; n <= PortDevicesDialog::kPorts; ++n)
        comItems_[n - 1] = AddItem(*port, QStringLiteral("com%1Item").arg(n), QStringLiteral("Com&%1").arg(n), true,
                                   [this, n] { ChooseComPort(n); });
    port->addSeparator();
    items_[Command::Devices] = AddItem(*port, "devicesItem", "&Devices...", false, [this] { ShowDevices(); });

    QMenu* rig = menuBar()->addMenu(QStringLiteral("&Rig Type"));
    for (const RigTypes::Info& type : RigTypes::All())
        rigItems_[type.type] = AddItem(*rig, type.settingsValue + QStringLiteral("Item"), type.menuText, true,
                                       [this, t = type.type] { ChooseRigType(t); });

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    items_[Command::Autoconnect] = AddItem(*options, "autoconnectItem", "&Autoconnect 1st MIDI", true,
                                           [this] { ToggleAutoconnect(); });
    items_[Command::PollInterval] = AddItem(*options, "pollIntervalItem", "&CAT Poll Timer Value", false,
                                            [this] { AskPollInterval(); });
    items_[Command::MidiInterval] = AddItem(*options, "midiIntervalItem", "&MIDI Poll Timer Value", false,
                                            [this] { AskMidiInterval(); });
    items_[Command::RigControl] = AddItem(*options, "rigControlItem", "&Network Rig Control", true,
                                          [this] { parts_->rigControl.Toggle(*items_[Command::RigControl]); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    items_[Command::ViewReadme] = AddItem(*help, "readmeItem", "View &Readme File", false, [this] { ViewReadme(); });
    items_[Command::Update] = AddItem(*help, "updateItem", "Check for Program &Update", false,
                                      [this] { CheckForUpdate(); });
    items_[Command::About] = AddItem(*help, "aboutItem", "&About Vorn-MIDI Connector", false, [this] { ShowAbout(); });
}

void MainWindow::Start()
{
    const auto step = [this](const std::function<void()>& body) { StartStep(body); };
    // The settings read here are written straight back (about 130 of them on
    // a first start): they reach the file together, in one write.
    SettingsBatch writeBack(store_);
    step([&] { PlaceAtStoredPosition(); });
    step([&] { SelectStoredPort(); });
    step([&] { parts_->radioChoice->AskForMissingPort(); });
    LoadOptions();
    step([&] { writeBack.Commit(); });
    step([&] { parts_->rigControl.Load(*items_[Command::RigControl]); });
    if (ended_)
        return;
    step([&] { parts_->radioChoice->StartPoll(); });
    midiLamp_->SetUp(false);
    catLamp_->SetUp(false);
    if (parts_->options.autoconnect == QLatin1String("1")) {
        step([&] {
            ShowMidiSetup();
            QThread::msleep(100);
            if (parts_->setup)
                parts_->setup->close();
        });
    }
}

void MainWindow::StartStep(const std::function<void()>& body)
{
    // Each step reports its own failure and start-up goes on, so one unreadable
    // setting never leaves the key maps unloaded or the timers unset. Once the
    // program is ended from outside (during a start-up box) no step runs.
    if (!ended_)
        ReportFailures(alerts_, Routine::MainWindowLoad, body);
}

void MainWindow::LoadOptions()
{
    const auto step = [this](const std::function<void()>& body) { StartStep(body); };
    OptionsStore& settings = parts_->settings;
    const Options& options = parts_->options;
    step([&] {
        settings.Load(Option::PollTime);
        parts_->radioChoice->StopPoll();
        parts_->radioChoice->SetPollInterval(IntervalOrDefault(Option::PollTime, QStringLiteral("1000")));
        settings.Store(Option::PollTime);
    });
    step([&] {
        settings.Load(Option::Autoconnect);
        if (options.autoconnect == QLatin1String("0") || options.autoconnect == QLatin1String("1"))
            items_[Command::Autoconnect]->setChecked(options.autoconnect == QLatin1String("1"));
        settings.Store(Option::Autoconnect);
    });
    step([&] {
        settings.Load(Option::RigType);
        SetRigChecks(options.rigType);
        settings.Store(Option::RigType);
    });
    step([&] { parts_->keyMap.Load(store_); });
    step([&] { parts_->LoadLearnedControls(alerts_); });
    step([&] {
        settings.Load(Option::MidiPollTime);
        parts_->midi->StopPump();
        parts_->midi->SetPumpInterval(IntervalOrDefault(Option::MidiPollTime, QStringLiteral("100")));
        settings.Store(Option::MidiPollTime);
    });
}

int MainWindow::IntervalOrDefault(OptionsStore::Option option, const QString& defaultValue)
{
    return IntervalQuestion::MillisecondsOr(parts_->settings.Value(option), defaultValue, [this](const NumberedError& e) {
        ReportFailure(alerts_, Routine::MainWindowLoad, e);
    });
}

void MainWindow::SelectStoredPort()
{
    // The COM port stays closed while Hamlib holds the radio.
    parts_->settings.Load(Option::RigType);
    parts_->settings.Load(Option::CatPort);
    const double chosen = NumberText::LeadingNumber(parts_->options.catPort);
    if (chosen == 0)
        ChooseNoPort();
    else if (chosen >= 1 && chosen <= PortDevicesDialog::kPorts && chosen == std::floor(chosen))
        OpenComPort(static_cast<int>(chosen));
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

void MainWindow::SetPortChecks(int number)
{
    items_[Command::NoPort]->setChecked(number == 0);
    for (int n = 1; n <= PortDevicesDialog::kPorts; ++n)
        comItems_[n - 1]->setChecked(n == number);
}

void MainWindow::OpenComPort(int number)
{
    ReportFailures(alerts_, ChooseComRoutine(number), [&] {
        parts_->radioChoice->SelectComPort(number);
    });
}

void MainWindow::ChooseComPort(int number)
{
    OpenComPort(number);
    parts_->radioChoice->PollOwnLink();
}

void MainWindow::ChooseNoPort()
{
    ReportFailures(alerts_, Routine::ChoosePortNone, [&] {
        parts_->radioChoice->SelectNoPort();
    });
}

void MainWindow::ShowDevices()
{
    PortDevicesDialog dialog(store_, alerts_, SystemLines::SerialPorts(), this);
    dialog.exec();
}

void MainWindow::SetRigChecks(const QString& rigType)
{
    const std::optional<RigType> rig = RigTypes::FromSetting(rigType);
    if (!rig)
        return;
    for (auto& [type, item] : rigItems_)
        item->setChecked(type == *rig);
}

void MainWindow::ChooseRigType(RigType rig)
{
    const RigTypes::Info& type = RigTypes::Of(rig);
    ReportFailures(alerts_, type.menuRoutine, [&] {
        // The Hamlib radio is chosen in a window of its own: until then the marks stay.
        SetRigChecks(rig == RigType::Hamlib ? parts_->options.rigType : type.settingsValue);
        parts_->radioChoice->SelectRigType(rig, *this);
    });
}

void MainWindow::ToggleAutoconnect()
{
    ReportFailures(alerts_, Routine::ToggleAutoconnect, [&] {
        QString value = parts_->options.autoconnect;
        if (value == QLatin1String("0"))
            value = QStringLiteral("1");
        else if (value == QLatin1String("1"))
            value = QStringLiteral("0");
        items_[Command::Autoconnect]->setChecked(value == QLatin1String("1"));
        parts_->settings.Set(Option::Autoconnect, value);
    });
}

void MainWindow::AskPollInterval()
{
    ReportFailures(alerts_, Routine::AskPollInterval, [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::PollTimer(), alerts_, parts_->settings))
            parts_->radioChoice->SetPollInterval(*ms);
    });
}

void MainWindow::AskMidiInterval()
{
    ReportFailures(alerts_, Routine::AskMidiInterval, [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::MidiTimer(), alerts_, parts_->settings))
            parts_->midi->SetPumpInterval(*ms);
    });
}

QString MainWindow::ReadmePath()
{
    return ProgramFiles::Readme(QCoreApplication::applicationDirPath());
}

void MainWindow::ViewReadme()
{
    ReportFailures(alerts_, Routine::ViewReadme, [&] {
        const QString path = ReadmePath();
        if (!QFileInfo::exists(path))
            throw NumberedError(NumberedError::kFileNotFound, QStringLiteral("File not found: ") + path);
        if (!openDocument(path))
            throw NumberedError(NumberedError::kPathFileAccess, QStringLiteral("No text viewer could open ") + path);
    });
}

void MainWindow::CheckForUpdate()
{
    SetupWindow().StopMonitor();
    parts_->midi->Close();
    midiLamp_->SetUp(false);
    if (parts_->updater) {
        parts_->updater->raise();
        parts_->updater->activateWindow();
    } else {
        parts_->updater = new UpdateWindow(store_, alerts_, parts_->launcher, [this] { emit programEnded(); },
                                           IniSettingsStore::ApplicationName(), QString(), this);
        parts_->updater->setWindowFlag(Qt::Window);
        parts_->updater->Start();
    }
    if (parts_->options.AutoconnectIsOn())
        alerts_.MsgBox(QStringLiteral("Please reconnect MIDI device after update."), IAlerts::Buttons::Ok,
                       IAlerts::Icon::Information, QStringLiteral("Reconnect MIDI Device"));
}

void MainWindow::ShowAbout()
{
    alerts_.MsgBox(QStringLiteral("Vorn-MIDI Connector %1\n\n"
                                  "A MIDI control surface as a tuning panel for your "
                                  "transceiver.\nFree software for radio amateurs. 73!")
                       .arg(QLatin1String(kProgramVersion)),
                   IAlerts::Buttons::Ok, IAlerts::Icon::None, QStringLiteral("Vorn-MIDI Connector"));
}

MidiSetupWindow& MainWindow::SetupWindow()
{
    if (!parts_->setup) {
        // Its load steps, the automatic connection among them, run here.
        parts_->setup = new MidiSetupWindow(*parts_->midi, parts_->options, alerts_, this);
        parts_->setup->setWindowFlag(Qt::Window);
        connect(parts_->setup, &MidiSetupWindow::keyMapWanted, this, [this] {
            if (const std::optional<RigType> rig = parts_->options.Rig())
                parts_->editors.Show(*rig);
        });
        parts_->ConnectLearning(*parts_->setup, alerts_);
    }
    return *parts_->setup;
}

void MainWindow::ShowMidiSetup()
{
    MidiSetupWindow& setup = SetupWindow();
    setup.show();
    setup.raise();
    setup.activateWindow();
}

MidiSetupWindow* MainWindow::PressMidiSetup()
{
    ReportFailures(alerts_, Routine::ShowMidiSetup, [&] { ShowMidiSetup(); });
    return parts_->setup;
}

void MainWindow::UnloadOtherWindows()
{
    if (!parts_)
        return;
    if (parts_->setup)
        delete parts_->setup;
    parts_->editors.CloseAll();
}

void MainWindow::Shutdown()
{
    parts_->midi->Close();
    StorePosition();
    UnloadOtherWindows();
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
