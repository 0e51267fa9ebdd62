#include "app/frmVornMidiConnector.h"

#include "app/IntervalQuestion.h"
#include "app/PortDevicesDialog.h"
#include "app/ProgramParts.h"
#include "app/WindowPlacement.h"
#include "cat/CatPoll.h"
#include "core/IAlerts.h"
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "core/RuntimeError.h"
#include "core/SettingsBatch.h"
#include "core/VbNumber.h"
#include "desktop/ProgramFiles.h"
#include "midi/MidiInput.h"
#include "midi/frmConfig_Midi.h"
#include "update/frmUpdater.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/IndicatorShape.h"
#include "widgets/LogView.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QThread>
#include <cmath>
#include <cstdio>

namespace {
const QString kLoadRoutine = QStringLiteral("frmVornMidiConnector_load");
using Option = OptionsStore::Option;

// The routine names the port commands report under, as users know them.
QString PortRoutine(int number)
{
    if (number == 5)
        return QStringLiteral("mnuPortsCom5click");
    if (number >= 14)
        return QStringLiteral("mnuPortsCom16_click");
    return QStringLiteral("mnuPortsCom%1_click").arg(number);
}
} // namespace

frmVornMidiConnector::frmVornMidiConnector(ISettingsStore& store, IAlerts& alerts,
                                           QWidget* parent)
    : QMainWindow(parent), store_(store), alerts_(alerts)
{
    setObjectName(QStringLiteral("frmVornMidiConnector"));
    setWindowTitle(QStringLiteral("Vorn-MIDI Connector"));
    FormFont::Apply(*this);
    BuildControls();
    BuildMenus();
    CaptionFit::Apply(*this);
    parts_ = std::make_unique<ProgramParts>(*this, store_, alerts_, *txtCATDump, *shpCATConnected,
                                            *txtMidiInDump);
    WireParts();
    alerts_.SetRepeatLog(txtMidiInDump);
}

frmVornMidiConnector::~frmVornMidiConnector()
{
    // Editors and the setup window refer to the parts; they go first.
    UnloadOtherWindows();
    parts_->poll->Stop();
    parts_->midi->Close();
    alerts_.SetRepeatLog(nullptr);
}

void frmVornMidiConnector::WireParts()
{
    connect(parts_->midi, &MidiInput::connectedChanged, this, [this](bool connected) {
        shpMidiEnabled->SetFillColor(connected ? IIndicator::kGreen : IIndicator::kRed);
    });
}

void frmVornMidiConnector::BuildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(Twips::ToPixels(4680), Twips::ToPixels(4680));
    setCentralWidget(client);

    auto place = [](QWidget* w, const char* name, const QRect& r) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(r);
        return w;
    };
    Label2 = new QLabel(QStringLiteral("MIDI Received Data"), client);
    place(Label2, "Label2", Twips::Rect(1560, 120, 1575, 255));
    txtMidiInDump = new LogView(client);
    place(txtMidiInDump, "txtMidiInDump", Twips::Rect(120, 360, 4455, 1215));
    Label1 = new QLabel(QStringLiteral("CAT Received Data"), client);
    place(Label1, "Label1", Twips::Rect(1560, 1680, 1575, 255));
    txtCATDump = new LogView(client);
    place(txtCATDump, "txtCATDump", Twips::Rect(120, 1920, 4455, 1935));
    lblMidiEnabled = new QLabel(QStringLiteral("MIDI Connected"), client);
    place(lblMidiEnabled, "lblMidiEnabled", Twips::Rect(120, 3960, 1455, 255));
    shpMidiEnabled = new IndicatorShape(client);
    place(shpMidiEnabled, "shpMidiEnabled", Twips::Rect(1680, 3960, 375, 255));
    cmdConfigMidi = new WrappingButton(QStringLiteral("&Midi Setup"), client);
    place(cmdConfigMidi, "cmdConfigMidi", Twips::Rect(2640, 4080, 855, 495));
    cmdExit = new WrappingButton(QStringLiteral("E&xit"), client);
    place(cmdExit, "cmdExit", Twips::Rect(3720, 4080, 855, 495));
    lblCATConnected = new QLabel(QStringLiteral("CAT Connected"), client);
    place(lblCATConnected, "lblCATConnected", Twips::Rect(120, 4320, 1455, 255));
    shpCATConnected = new IndicatorShape(client);
    place(shpCATConnected, "shpCATConnected", Twips::Rect(1680, 4320, 375, 255));

    connect(cmdConfigMidi, &QPushButton::clicked, this, [this] { cmdConfig_Midi_click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void frmVornMidiConnector::BuildMenus()
{
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu* in, const QString& name, const QString& caption, bool checkable,
                       std::function<void()> onTrigger) {
        QAction* a = in->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, std::move(onTrigger));
        return a;
    };
    QMenu* port = menu("mnuCatPort", QStringLiteral("&CAT Port"));
    mnuPortsNone = item(port, "mnuPortsNone", "&None", true, [this] { mnuPortsNone_Click(); });
    for (int n = 1; n <= 16; ++n)
        mnuPortsCom[n - 1] = item(port, QStringLiteral("mnuPortsCom%1").arg(n), QStringLiteral("Com&%1").arg(n),
                                  true, [this, n] { mnuPortsCom_Click(n); });
    port->addSeparator();
    mnuDevices = item(port, "mnuDevices", "&Devices...", false, [this] { mnuDevices_Click(); });

    QMenu* rig = menu("mnuRigType", QStringLiteral("&Rig Type"));
    mnuElecraft = item(rig, "mnuElecraft", "&Elecraft", true, [this] {
        ChooseRigType(QStringLiteral("elecraft"), QStringLiteral("mnuElecraft_Click"));
    });
    mnuFlex = item(rig, "mnuFlex", "&Flex", true,
                   [this] { ChooseRigType(QStringLiteral("flex"), QStringLiteral("mnuFlex_Click")); });

    QMenu* options = menu("mnuOptions", QStringLiteral("&Options"));
    mnuMautoconnect = item(options, "mnuMautoconnect", "&Autoconnect 1st MIDI", true,
                           [this] { mnuMautoconnect_Click(); });
    mnuPollTimer = item(options, "mnuPollTimer", "&CAT Poll Timer Value", false, [this] { mnuPollTimer_Click(); });
    mnuMIDITmr = item(options, "mnuMIDITmr", "&MIDI Poll Timer Value", false, [this] { mnuMIDITmr_Click(); });
    mnuRigControl = item(options, "mnuRigControl", "&Network Rig Control", true,
                         [this] { parts_->rigControl.Toggle(*mnuRigControl); });

    QMenu* help = menu("mnuHelp", QStringLiteral("&Help"));
    mnuViewReadme = item(help, "mnuViewReadme", "View &Readme File", false, [this] { mnuViewReadme_click(); });
    mnuUpdate = item(help, "mnuUpdate", "Check for Program &Update", false, [this] { mnuUpdate_Click(); });
    mnuHelpAbout = item(help, "mnuHelpAbout", "&About Vorn-MIDI Connector", false, [this] { mnuHelpAbout_Click(); });
}

void frmVornMidiConnector::Form_Load()
{
    // Each step reports its own failure and start-up goes on, so one unreadable
    // setting never leaves the key maps unloaded or the timers unset. Once the
    // program is ended from outside (during a start-up box) no step runs.
    auto step = [this](auto&& body) { if (!ended_) RunGuarded(alerts_, kLoadRoutine, body); };
    OptionsStore& settings = parts_->settings;
    const Options& options = parts_->options;
    // The settings read here are written straight back (about 130 of them on
    // a first start): they reach the file together, in one write.
    SettingsBatch writeBack(store_);

    step([&] { PlaceAtStoredPosition(); });
    step([&] { SelectStoredPort(); });
    step([&] {
        if (options.catport.isEmpty() || VbNumber::ParseDecimal(options.catport) == 0)
            alerts_.MsgBox(QStringLiteral("Please select a CAT Com port first."),
                           IAlerts::Buttons::Ok, IAlerts::Icon::None,
                           QStringLiteral("Com Port error"));
    });
    step([&] {
        settings.Load(Option::PollTime);
        parts_->poll->Stop();
        parts_->poll->SetInterval(IntervalOrDefault(Option::PollTime, QStringLiteral("1000")));
        settings.Store(Option::PollTime);
    });
    step([&] {
        settings.Load(Option::Autoconnect);
        if (options.mautoconnect == QLatin1String("0") || options.mautoconnect == QLatin1String("1"))
            mnuMautoconnect->setChecked(options.mautoconnect == QLatin1String("1"));
        settings.Store(Option::Autoconnect);
    });
    step([&] {
        settings.Load(Option::RigType);
        SetRigChecks(options.rigtype);
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
    step([&] { writeBack.Commit(); });

    step([&] { parts_->rigControl.Load(*mnuRigControl); });
    if (ended_)
        return;
    // A chosen port that could not be opened is polled too: the poll opens it once it is there.
    if (parts_->link.ChosenPort() != 0)
        parts_->poll->Start();
    shpMidiEnabled->SetFillColor(IIndicator::kRed);
    shpCATConnected->SetFillColor(IIndicator::kRed);

    if (options.mautoconnect == QLatin1String("1")) {
        step([&] {
            ShowMidiSetup();
            QThread::msleep(100);
            if (parts_->setup)
                parts_->setup->close();
        });
    }
}

int frmVornMidiConnector::IntervalOrDefault(OptionsStore::Option option, const QString& defaultValue)
{
    return IntervalQuestion::MillisecondsOr(parts_->settings.Value(option), defaultValue,
                                            [this](const VbError& e) { ReportRuntimeError(alerts_, kLoadRoutine, e); });
}

void frmVornMidiConnector::SelectStoredPort()
{
    parts_->settings.Load(Option::CatPort);
    const double chosen = VbNumber::LeadingNumber(parts_->options.catport);
    if (chosen == 0)
        mnuPortsNone_Click();
    else if (chosen >= 1 && chosen <= 16 && chosen == std::floor(chosen))
        ChoosePort(static_cast<int>(chosen));
}

void frmVornMidiConnector::PlaceAtStoredPosition()
{
    const QPoint stored = WindowPlacement::Stored(
        parts_->settings, [this](const VbError& e) { ReportRuntimeError(alerts_, kLoadRoutine, e); });
    move(WindowPlacement::OnScreens(stored, sizeHint().width()));
    placed_ = true;
}

void frmVornMidiConnector::StorePosition()
{
    // Ended before start-up placed the window: the stored position stays.
    if (placed_)
        WindowPlacement::Store(parts_->settings, pos());
}

void frmVornMidiConnector::SetPortChecks(int number)
{
    mnuPortsNone->setChecked(number == 0);
    for (int n = 1; n <= 16; ++n)
        mnuPortsCom[n - 1]->setChecked(n == number);
}

void frmVornMidiConnector::ChoosePort(int number)
{
    RunGuarded(alerts_, PortRoutine(number), [&] {
        parts_->settings.Set(Option::CatPort, QString::number(number));
        parts_->link.SelectPort(number, [this](int n) { SetPortChecks(n); });
    });
}

void frmVornMidiConnector::mnuPortsCom_Click(int number)
{
    ChoosePort(number);
    parts_->poll->Start();
}

void frmVornMidiConnector::mnuPortsNone_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuPortsNone"), [&] {
        parts_->settings.Set(Option::CatPort, QStringLiteral("0"));
        parts_->link.SelectNone([this](int n) { SetPortChecks(n); });
    });
}

void frmVornMidiConnector::mnuDevices_Click()
{
    PortDevicesDialog dialog(store_, alerts_, PortDevicesDialog::SystemPorts(), this);
    dialog.exec();
}

void frmVornMidiConnector::SetRigChecks(const QString& rigtype)
{
    if (rigtype != QLatin1String("elecraft") && rigtype != QLatin1String("flex"))
        return;
    mnuElecraft->setChecked(rigtype == QLatin1String("elecraft"));
    mnuFlex->setChecked(rigtype == QLatin1String("flex"));
}

void frmVornMidiConnector::ChooseRigType(const QString& rigtype, const QString& routine)
{
    RunGuarded(alerts_, routine, [&] {
        SetRigChecks(rigtype);
        parts_->settings.Set(Option::RigType, rigtype);
    });
}

void frmVornMidiConnector::mnuMautoconnect_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuMautoconnect_Click"), [&] {
        QString value = parts_->options.mautoconnect;
        if (value == QLatin1String("0"))
            value = QStringLiteral("1");
        else if (value == QLatin1String("1"))
            value = QStringLiteral("0");
        mnuMautoconnect->setChecked(value == QLatin1String("1"));
        parts_->settings.Set(Option::Autoconnect, value);
    });
}

void frmVornMidiConnector::mnuPollTimer_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuPollTimer_Click"), [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::PollTimer(), alerts_, parts_->settings))
            parts_->poll->SetInterval(*ms);
    });
}

void frmVornMidiConnector::mnuMIDITmr_Click()
{
    // Reported under the same routine name as the poll question, as users know it.
    RunGuarded(alerts_, QStringLiteral("mnuPollTimer_Click"), [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::MidiTimer(), alerts_, parts_->settings))
            parts_->midi->SetPumpInterval(*ms);
    });
}

QString frmVornMidiConnector::ReadmePath()
{
    return ProgramFiles::Readme(QCoreApplication::applicationDirPath());
}

void frmVornMidiConnector::mnuViewReadme_click()
{
    RunGuarded(alerts_, QStringLiteral("mnuViewReadme_click"), [&] {
        const QString path = ReadmePath();
        if (!QFileInfo::exists(path))
            throw VbError(53, QStringLiteral("File not found: ") + path);
        if (!openDocument(path))
            throw VbError(VbError::kPathFileAccess,
                          QStringLiteral("No text viewer could open ") + path);
    });
}

void frmVornMidiConnector::mnuUpdate_Click()
{
    SetupWindow().StopMonitor();
    parts_->midi->Close();
    shpMidiEnabled->SetFillColor(IIndicator::kRed);
    if (parts_->updater) {
        parts_->updater->raise();
        parts_->updater->activateWindow();
    } else {
        parts_->updater = new frmUpdater(store_, alerts_, parts_->launcher,
                                         [this] { emit programEnded(); },
                                         IniSettingsStore::ApplicationName(), QString(), this);
        parts_->updater->setWindowFlag(Qt::Window);
        parts_->updater->Form_Load();
    }
    if (parts_->options.AutoconnectIsOn())
        alerts_.MsgBox(QStringLiteral("Please reconnect MIDI device after update."),
                       IAlerts::Buttons::Ok, IAlerts::Icon::Information,
                       QStringLiteral("Reconnect MIDI Device"));
}

void frmVornMidiConnector::mnuHelpAbout_Click()
{
    alerts_.MsgBox(QStringLiteral("Vorn-MIDI Connector %1\n\n"
                                  "A MIDI control surface as a tuning panel for your "
                                  "transceiver.\nFree software for radio amateurs. 73!")
                       .arg(QLatin1String(kProgramVersion)),
                   IAlerts::Buttons::Ok, IAlerts::Icon::None,
                   QStringLiteral("Vorn-MIDI Connector"));
}

frmConfig_Midi& frmVornMidiConnector::SetupWindow()
{
    if (!parts_->setup) {
        // Its load steps, the automatic connection among them, run here.
        parts_->setup = new frmConfig_Midi(*parts_->midi, parts_->options, alerts_, this);
        parts_->setup->setWindowFlag(Qt::Window);
        connect(parts_->setup, &frmConfig_Midi::mapEditorWanted, this,
                [this](const QString& rigtype) { parts_->editors.Show(rigtype); });
        parts_->ConnectLearning(*parts_->setup, alerts_);
    }
    return *parts_->setup;
}

void frmVornMidiConnector::ShowMidiSetup()
{
    frmConfig_Midi& setup = SetupWindow();
    setup.show();
    setup.raise();
    setup.activateWindow();
}

void frmVornMidiConnector::cmdConfig_Midi_click()
{
    RunGuarded(alerts_, QStringLiteral("cmdConfig_Midi_click"), [&] { ShowMidiSetup(); });
}

void frmVornMidiConnector::UnloadOtherWindows()
{
    if (!parts_)
        return;
    if (parts_->setup)
        delete parts_->setup;
    parts_->editors.CloseAll();
}

void frmVornMidiConnector::Shutdown()
{
    parts_->midi->Close();
    StorePosition();
    UnloadOtherWindows();
}

void frmVornMidiConnector::cmdExit_Click()
{
    if (RunGuarded(alerts_, QStringLiteral("exit"), [&] { Shutdown(); }))
        close();
}

void frmVornMidiConnector::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Closed again after the end (by the session or a signal): nothing is left to do.
    if (ended_)
        return;
    // Nobody may be there to answer a box on the way out (a signal, the end of
    // the session), so a failure goes to standard error.
    const auto report = [](qint64 number, const QString& description) {
        std::fprintf(stderr, "vorn-midi-connector: %s\n",
                     qPrintable(FormatRuntimeError(QStringLiteral("QueryUnload"), number, description)));
    };
    try {
        Shutdown();
    } catch (const VbError& e) {
        report(e.number(), e.description());
    } catch (const std::exception& e) {
        report(VbError::kInternal, QString::fromLocal8Bit(e.what()));
    }
    parts_->poll->Stop();
    parts_->midi->Close();
    if (parts_->updater)
        parts_->updater->close();
    ended_ = true;
    emit programEnded();
}
