#include "app/frmVornMidiConnector.h"

#include "app/FormFont.h"
#include "app/IAlerts.h"
#include "app/ISettingsStore.h"
#include "app/IndicatorShape.h"
#include "app/IniSettingsStore.h"
#include "app/KeyMap.h"
#include "app/LogView.h"
#include "app/PortDevicesDialog.h"
#include "app/RuntimeError.h"
#include "app/Twips.h"
#include "app/WindowPlacement.h"
#include "app/WrappingButton.h"
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "cat/QtSerialPort.h"
#include "mapedit/MapEditors.h"
#include "midi/MidiFunctions.h"
#include "midi/MidiPump.h"
#include "midi/RtMidiInApi.h"
#include "midi/frmConfig_Midi.h"
#include "translation/Translator.h"
#include "translation/VbNumber.h"
#include "update/SystemInstallerLauncher.h"
#include "update/frmUpdater.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <cmath>

namespace {
const QString kSettings = QStringLiteral("settings");
const QString kLoadRoutine = QStringLiteral("frmVornMidiConnector_load");

// The routine names the port commands report under, as users know them.
QString PortRoutine(int number)
{
    if (number == 5)
        return QStringLiteral("mnuPortsCom5click");
    if (number >= 14)
        return QStringLiteral("mnuPortsCom16_click");
    return QStringLiteral("mnuPortsCom%1_click").arg(number);
}

// A whole number of milliseconds, halves to even; throws when a timer cannot take it.
int TimerInterval(const QString& text)
{
    const double value = std::nearbyint(VbNumber::ParseDecimal(text));
    if (value < 0 || value > 2147483647.0)
        throw VbError::Overflow();
    return static_cast<int>(value);
}
} // namespace

struct frmVornMidiConnector::Parts {
    Parts(frmVornMidiConnector& w, ISettingsStore& store, IAlerts& alerts)
        : MSComm1(store),
          parser(w.radio, *w.shpCATConnected, alerts),
          link(MSComm1, w.options, store, *w.txtCATDump, *w.shpCATConnected, alerts, w.radio,
               parser),
          poll(link, alerts),
          translator(keyMap, w.radio, w.midi, w.options, link, alerts),
          midiFunctions(midiDevice, alerts),
          pump(midiFunctions, *w.txtMidiInDump, alerts,
               MidiPump::DrainMode::MainWindowPump(
                   w.midi, [this, &w] { translator.ProcessMIDI(w.midi.midiid, w.midi.midicmd); })),
          editors(keyMap, store, alerts, &w)
    {
    }

    QtSerialPort MSComm1;
    CatParser parser;
    CatLink link;
    CatPoll poll;
    KeyMap keyMap;
    Translator translator;
    RtMidiInApi midiDevice;
    MidiFunctions midiFunctions;
    MidiPump pump;
    MapEditors editors;
    SystemInstallerLauncher launcher;
    QPointer<frmConfig_Midi> setup;
    QPointer<frmUpdater> updater;
};

frmVornMidiConnector::frmVornMidiConnector(ISettingsStore& store, IAlerts& alerts,
                                           QWidget* parent)
    : QMainWindow(parent), store_(store), alerts_(alerts)
{
    setObjectName(QStringLiteral("frmVornMidiConnector"));
    setWindowTitle(QStringLiteral("Vorn-MIDI Connector"));
    FormFont::Apply(*this);
    BuildControls();
    BuildMenus();
    parts_ = std::make_unique<Parts>(*this, store_, alerts_);

    PollTimer.setSingleShot(false);
    tmrMIDI.setSingleShot(false);
    connect(&PollTimer, &QTimer::timeout, this, [this] { parts_->poll.PollTimer_Timer(); });
    connect(&tmrMIDI, &QTimer::timeout, this, [this] { parts_->pump.Tick(); });
}

frmVornMidiConnector::~frmVornMidiConnector()
{
    PollTimer.stop();
    tmrMIDI.stop();
    // Editors and the setup window refer to parts_; they go first.
    UnloadOtherWindows();
    if (parts_)
        parts_->midiFunctions.CloseMidiIn();
}

void frmVornMidiConnector::BuildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(Twips::ToPixels(4680), Twips::ToPixels(4680));
    setCentralWidget(client);

    auto place = [](QWidget* w, const char* name, QRect r) {
        w->setObjectName(QLatin1String(name));
        // A caption is never cut off when the system's font runs wider than the layout's.
        if (qobject_cast<QLabel*>(w))
            r.setWidth(std::max(r.width(), w->sizeHint().width()));
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
    auto item = [this](QMenu* menu, const char* name, const QString& caption, bool checkable) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setCheckable(checkable);
        return a;
    };
    QMenu* mnuCatPort = menuBar()->addMenu(QStringLiteral("&CAT Port"));
    mnuCatPort->setObjectName(QStringLiteral("mnuCatPort"));
    mnuPortsNone = item(mnuCatPort, "mnuPortsNone", QStringLiteral("&None"), true);
    connect(mnuPortsNone, &QAction::triggered, this, [this] { mnuPortsNone_Click(); });
    for (int n = 1; n <= 16; ++n) {
        QAction* a = item(mnuCatPort, "", QStringLiteral("Com&%1").arg(n), true);
        a->setObjectName(QStringLiteral("mnuPortsCom%1").arg(n));
        connect(a, &QAction::triggered, this, [this, n] { mnuPortsCom_Click(n); });
        mnuPortsCom[n - 1] = a;
    }
    mnuCatPort->addSeparator();
    mnuDevices = item(mnuCatPort, "mnuDevices", QStringLiteral("&Devices..."), false);
    connect(mnuDevices, &QAction::triggered, this, [this] { mnuDevices_Click(); });

    QMenu* mnuRigType = menuBar()->addMenu(QStringLiteral("&Rig Type"));
    mnuRigType->setObjectName(QStringLiteral("mnuRigType"));
    mnuElecraft = item(mnuRigType, "mnuElecraft", QStringLiteral("&Elecraft"), true);
    mnuFlex = item(mnuRigType, "mnuFlex", QStringLiteral("&Flex"), true);
    connect(mnuElecraft, &QAction::triggered, this,
            [this] { ChooseRigType(QStringLiteral("elecraft"), QStringLiteral("mnuElecraft_Click")); });
    connect(mnuFlex, &QAction::triggered, this,
            [this] { ChooseRigType(QStringLiteral("flex"), QStringLiteral("mnuFlex_Click")); });

    QMenu* mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuMautoconnect =
        item(mnuOptions, "mnuMautoconnect", QStringLiteral("&Autoconnect 1st MIDI"), true);
    mnuPollTimer = item(mnuOptions, "mnuPollTimer", QStringLiteral("&CAT Poll Timer Value"), false);
    mnuMIDITmr = item(mnuOptions, "mnuMIDITmr", QStringLiteral("&MIDI Poll Timer Value"), false);
    connect(mnuMautoconnect, &QAction::triggered, this, [this] { mnuMautoconnect_Click(); });
    connect(mnuPollTimer, &QAction::triggered, this, [this] { mnuPollTimer_Click(); });
    connect(mnuMIDITmr, &QAction::triggered, this, [this] { mnuMIDITmr_Click(); });

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuViewReadme = item(mnuHelp, "mnuViewReadme", QStringLiteral("View &Readme File"), false);
    mnuUpdate = item(mnuHelp, "mnuUpdate", QStringLiteral("Check for Program &Update"), false);
    mnuHelpAbout =
        item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About Vorn-MIDI Connector"), false);
    connect(mnuViewReadme, &QAction::triggered, this, [this] { mnuViewReadme_click(); });
    connect(mnuUpdate, &QAction::triggered, this, [this] { mnuUpdate_Click(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
}

void frmVornMidiConnector::Form_Load()
{
    // Each step reports its own failure and start-up goes on, so one unreadable
    // setting never leaves the key maps unloaded or the timers unset.
    auto step = [this](auto&& body) { RunGuarded(alerts_, kLoadRoutine, body); };
    auto setting = [this](const QString& key, const QString& defaultValue) {
        return store_.Read(kSettings, key, defaultValue);
    };
    auto intervalOf = [this](const QString& text, const QString& defaultValue) {
        try {
            return TimerInterval(text);
        } catch (const VbError& e) {
            ReportRuntimeError(alerts_, kLoadRoutine, e);
            return TimerInterval(defaultValue);
        }
    };

    step([&] { PlaceAtStoredPosition(); });

    step([&] {
        options.catport = setting(QStringLiteral("catport"), QStringLiteral("0"));
        const double chosen = VbNumber::LeadingNumber(options.catport);
        if (chosen == 0)
            mnuPortsNone_Click();
        else if (chosen >= 1 && chosen <= 16 && chosen == std::floor(chosen))
            mnuPortsCom_Click(static_cast<int>(chosen));
    });
    step([&] {
        if (options.catport.isEmpty() || VbNumber::ParseDecimal(options.catport) == 0)
            alerts_.MsgBox(QStringLiteral("Please select a CAT Com port first."),
                           IAlerts::Buttons::Ok, IAlerts::Icon::None,
                           QStringLiteral("Com Port error"));
    });

    step([&] {
        options.polltime = setting(QStringLiteral("polltime"), QStringLiteral("1000"));
        PollTimer.stop();
        PollTimer.setInterval(intervalOf(options.polltime, QStringLiteral("1000")));
        store_.Write(kSettings, QStringLiteral("polltime"), options.polltime);
    });
    step([&] {
        options.mautoconnect = setting(QStringLiteral("mautoconnect"), QStringLiteral("0"));
        if (options.mautoconnect == QLatin1String("0"))
            mnuMautoconnect->setChecked(false);
        else if (options.mautoconnect == QLatin1String("1"))
            mnuMautoconnect->setChecked(true);
        store_.Write(kSettings, QStringLiteral("mautoconnect"), options.mautoconnect);
    });
    step([&] {
        options.rigtype = setting(QStringLiteral("rigtype"), QStringLiteral("flex"));
        SetRigChecks(options.rigtype);
        store_.Write(kSettings, QStringLiteral("rigtype"), options.rigtype);
    });
    step([&] { parts_->keyMap.Load(store_); });
    step([&] {
        options.midipolltime = setting(QStringLiteral("midipolltime"), QStringLiteral("100"));
        tmrMIDI.stop();
        tmrMIDI.setInterval(intervalOf(options.midipolltime, QStringLiteral("100")));
        store_.Write(kSettings, QStringLiteral("midipolltime"), options.midipolltime);
    });

    if (parts_->MSComm1.IsOpen())
        PollTimer.start();
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

void frmVornMidiConnector::PlaceAtStoredPosition()
{
    auto twipsOf = [this](const QString& key) {
        const QString text = store_.Read(kSettings, key, QStringLiteral("0"));
        try {
            return static_cast<float>(VbNumber::ParseDecimal(text));
        } catch (const VbError& e) {
            ReportRuntimeError(alerts_, kLoadRoutine, e);
            return 0.0f;
        }
    };
    const float top = twipsOf(QStringLiteral("FormTop"));
    const float left = twipsOf(QStringLiteral("FormLeft"));
    const QPoint stored(qRound(left / Twips::kPerPixel), qRound(top / Twips::kPerPixel));

    QList<QRect> screens;
    for (QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QRect primary = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->availableGeometry()
                              : QRect();
    move(WindowPlacement::Place(stored, sizeHint().width(), screens, primary));
}

void frmVornMidiConnector::StorePosition()
{
    store_.Write(kSettings, QStringLiteral("FormTop"), QString::number(pos().y() * Twips::kPerPixel));
    store_.Write(kSettings, QStringLiteral("FormLeft"), QString::number(pos().x() * Twips::kPerPixel));
}

void frmVornMidiConnector::SetPortChecks(int number)
{
    mnuPortsNone->setChecked(number == 0);
    for (int n = 1; n <= 16; ++n)
        mnuPortsCom[n - 1]->setChecked(n == number);
}

void frmVornMidiConnector::mnuPortsCom_Click(int number)
{
    RunGuarded(alerts_, PortRoutine(number), [&] {
        parts_->link.SelectPort(number, [this](int n) { SetPortChecks(n); });
    });
}

void frmVornMidiConnector::mnuPortsNone_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuPortsNone"),
               [&] { parts_->link.SelectNone([this](int n) { SetPortChecks(n); }); });
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
        options.rigtype = rigtype;
        SetRigChecks(rigtype);
        store_.Write(kSettings, QStringLiteral("rigtype"), options.rigtype);
    });
}

void frmVornMidiConnector::mnuMautoconnect_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuMautoconnect_Click"), [&] {
        if (options.mautoconnect == QLatin1String("0"))
            options.mautoconnect = QStringLiteral("1");
        else if (options.mautoconnect == QLatin1String("1"))
            options.mautoconnect = QStringLiteral("0");
        mnuMautoconnect->setChecked(options.mautoconnect == QLatin1String("1"));
        store_.Write(kSettings, QStringLiteral("mautoconnect"), options.mautoconnect);
    });
}

void frmVornMidiConnector::AskTimerValue(const TimerValueQuestion& q)
{
    RunGuarded(alerts_, QStringLiteral("mnuPollTimer_Click"), [&] {
        const QString answer = alerts_.InputBox(q.prompt, q.title, q.value);
        if (answer.isEmpty())
            return;
        const double value = VbNumber::ParseDecimal(answer);
        if (value < q.minimum || value > q.maximum) {
            alerts_.MsgBox(q.rangeMessage, IAlerts::Buttons::Ok, IAlerts::Icon::None,
                           q.rangeTitle);
            return;
        }
        store_.Write(kSettings, q.key, answer);
        q.value = answer;
        q.timer.setInterval(TimerInterval(answer));
    });
}

void frmVornMidiConnector::mnuPollTimer_Click()
{
    AskTimerValue({QStringLiteral("Enter new poll timer value in milliseconds (suggested 1000 - "
                                  "for 1 second)."),
                   QStringLiteral("Enter Poll Timer Value"), 100, 10000,
                   QStringLiteral("Please enter a timer value between 100 and 10000."),
                   QStringLiteral("Poll Timer Value Error"), QStringLiteral("polltime"),
                   options.polltime, PollTimer});
}

void frmVornMidiConnector::mnuMIDITmr_Click()
{
    AskTimerValue({QStringLiteral("Enter new MIDI poll timer value in milliseconds (suggested "
                                  "100 - for .1 second)."),
                   QStringLiteral("Enter MIDI Poll Timer Value"), 10, 1000,
                   QStringLiteral("Please enter a timer value between 10 and 1000."),
                   QStringLiteral("MIDI Poll Timer Value Error"), QStringLiteral("midipolltime"),
                   options.midipolltime, tmrMIDI});
}

QString frmVornMidiConnector::ReadmePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/readme.txt");
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
    tmrMIDI.stop();
    SetupWindow().StopMonitor();
    parts_->midiFunctions.CloseMidiIn();
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
    if (options.AutoconnectIsOn())
        alerts_.MsgBox(QStringLiteral("Please reconnect MIDI device after update."),
                       IAlerts::Buttons::Ok, IAlerts::Icon::Information,
                       QStringLiteral("Reconnect MIDI Device"));
}

void frmVornMidiConnector::mnuHelpAbout_Click()
{
    alerts_.MsgBox(QStringLiteral("Vorn-MIDI Connector %1\n\n"
                                  "A MIDI control surface as a tuning panel for your "
                                  "transceiver.\nFree software for radio amateurs. 73!")
                       .arg(QStringLiteral(VMC_VERSION)),
                   IAlerts::Buttons::Ok, IAlerts::Icon::None,
                   QStringLiteral("Vorn-MIDI Connector"));
}

frmConfig_Midi& frmVornMidiConnector::SetupWindow()
{
    if (!parts_->setup) {
        const ConfigMidiContext context{tmrMIDI,           *shpMidiEnabled, options,
                                        parts_->midiFunctions, parts_->editors,  alerts_};
        // Its load steps, the automatic connection among them, run here.
        parts_->setup = new frmConfig_Midi(context, this);
        parts_->setup->setWindowFlag(Qt::Window);
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
    parts_->midiFunctions.CloseMidiIn();
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
    RunGuarded(alerts_, QStringLiteral("QueryUnload"), [&] { Shutdown(); });
    PollTimer.stop();
    tmrMIDI.stop();
    if (parts_->updater)
        parts_->updater->close();
    event->accept();
    emit programEnded();
}
