#include "app/MainMenus.h"

#include "app/IntervalQuestion.h"
#include "app/PortDevicesDialog.h"
#include "app/ProgramParts.h"
#include "cat/SystemLines.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "desktop/ProgramFiles.h"
#include "midi/MidiInput.h"
#include "midi/MidiSetupWindow.h"
#include "update/UpdateWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>

namespace {
using Key = Options::Key;
}

MainMenus::MainMenus(QMenuBar& bar, QWidget& window, ProgramParts& parts, ISettingsStore& store, IAlerts& alerts,
                     std::function<void()> endProgram)
    : QObject(&window), window_(window), parts_(parts), store_(store), alerts_(alerts),
      endProgram_(std::move(endProgram))
{
    BuildPortMenu(bar);
    BuildRigMenu(bar);
    BuildOptionsMenu(bar);
    BuildHelpMenu(bar);
    connect(parts_.radioChoice, &RadioChoice::rigTypeChanged, this,
            [this] { SetRigChecks(parts_.options.Text(Key::RigType)); });
}

QAction* MainMenus::AddItem(QMenu& menu, const QString& name, const QString& caption, bool checkable,
                            std::function<void()> chosen)
{
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    item->setCheckable(checkable);
    connect(item, &QAction::triggered, this, std::move(chosen));
    return item;
}

void MainMenus::BuildPortMenu(QMenuBar& bar)
{
    QMenu* port = bar.addMenu(QStringLiteral("&CAT Port"));
    items_[Command::NoPort] = AddItem(*port, "noPortItem", "&None", true, [this] { ChooseNoPort(); });
    for (int n = 1; n <= Options::kComPorts; ++n)
        comItems_[n - 1] = AddItem(*port, QStringLiteral("com%1Item").arg(n), QStringLiteral("Com&%1").arg(n), true,
                                   [this, n] { ChooseComPort(n); });
    port->addSeparator();
    items_[Command::Devices] = AddItem(*port, "devicesItem", "&Devices...", false, [this] { ShowDevices(); });
}

void MainMenus::BuildRigMenu(QMenuBar& bar)
{
    QMenu* rig = bar.addMenu(QStringLiteral("&Rig Type"));
    for (const RigTypes::Info& type : RigTypes::All())
        rigItems_[type.type] = AddItem(*rig, type.settingsValue + QStringLiteral("Item"), type.menuText, true,
                                       [this, t = type.type] { ChooseRigType(t); });
}

void MainMenus::BuildOptionsMenu(QMenuBar& bar)
{
    QMenu* options = bar.addMenu(QStringLiteral("&Options"));
    items_[Command::Autoconnect] = AddItem(*options, "autoconnectItem", "&Autoconnect 1st MIDI", true,
                                           [this] { ToggleAutoconnect(); });
    items_[Command::PollInterval] = AddItem(*options, "pollIntervalItem", "&CAT Poll Timer Value", false,
                                            [this] { AskPollInterval(); });
    items_[Command::MidiInterval] = AddItem(*options, "midiIntervalItem", "&MIDI Poll Timer Value", false,
                                            [this] { AskMidiInterval(); });
    items_[Command::RigControl] = AddItem(*options, "rigControlItem", "&Network Rig Control", true,
                                          [this] { parts_.rigControl.Toggle(*items_[Command::RigControl]); });
}

void MainMenus::BuildHelpMenu(QMenuBar& bar)
{
    QMenu* help = bar.addMenu(QStringLiteral("&Help"));
    items_[Command::ViewReadme] = AddItem(*help, "readmeItem", "View &Readme File", false, [this] { ViewReadme(); });
    items_[Command::Update] = AddItem(*help, "updateItem", "Check for Program &Update", false,
                                      [this] { CheckForUpdate(); });
    items_[Command::About] = AddItem(*help, "aboutItem", "&About Vorn-MIDI Connector", false, [this] { ShowAbout(); });
}

void MainMenus::SelectStoredPort()
{
    // The COM port stays closed while Hamlib holds the radio.
    parts_.settings.Load(Key::RigType);
    parts_.settings.Load(Key::CatPort);
    const std::optional<int> chosen = parts_.options.ComPort();
    if (chosen == 0)
        ChooseNoPort();
    else if (chosen)
        OpenComPort(*chosen);
}

void MainMenus::ShowOptions()
{
    const QString& autoconnect = parts_.options.Text(Key::Autoconnect);
    if (autoconnect == QLatin1String("0") || autoconnect == QLatin1String("1"))
        items_[Command::Autoconnect]->setChecked(autoconnect == QLatin1String("1"));
    SetRigChecks(parts_.options.Text(Key::RigType));
}

void MainMenus::ShowPort(int number)
{
    items_[Command::NoPort]->setChecked(number == 0);
    for (int n = 1; n <= Options::kComPorts; ++n)
        comItems_[n - 1]->setChecked(n == number);
}

void MainMenus::OpenComPort(int number)
{
    ReportFailures(alerts_, ChooseComRoutine(number), [&] { parts_.radioChoice->SelectComPort(number); });
}

void MainMenus::ChooseComPort(int number)
{
    OpenComPort(number);
    parts_.radioChoice->PollOwnLink();
}

void MainMenus::ChooseNoPort()
{
    ReportFailures(alerts_, Routine::ChoosePortNone, [&] { parts_.radioChoice->SelectNoPort(); });
}

void MainMenus::ShowDevices()
{
    PortDevicesDialog dialog(store_, alerts_, SystemLines::SerialPorts(), &window_);
    dialog.exec();
}

void MainMenus::SetRigChecks(const QString& rigType)
{
    const std::optional<RigType> rig = RigTypes::FromSetting(rigType);
    if (!rig)
        return;
    for (auto& [type, item] : rigItems_)
        item->setChecked(type == *rig);
}

void MainMenus::ChooseRigType(RigType rig)
{
    const RigTypes::Info& type = RigTypes::Of(rig);
    ReportFailures(alerts_, type.menuRoutine, [&] {
        // The Hamlib radio is chosen in a window of its own: until then the marks stay.
        SetRigChecks(rig == RigType::Hamlib ? parts_.options.Text(Key::RigType) : type.settingsValue);
        parts_.radioChoice->SelectRigType(rig, window_);
    });
}

void MainMenus::ToggleAutoconnect()
{
    ReportFailures(alerts_, Routine::ToggleAutoconnect, [&] {
        QString value = parts_.options.Text(Key::Autoconnect);
        if (value == QLatin1String("0"))
            value = QStringLiteral("1");
        else if (value == QLatin1String("1"))
            value = QStringLiteral("0");
        items_[Command::Autoconnect]->setChecked(value == QLatin1String("1"));
        parts_.settings.Set(Key::Autoconnect, value);
    });
}

void MainMenus::AskPollInterval()
{
    ReportFailures(alerts_, Routine::AskPollInterval, [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::PollTimer(), alerts_, parts_.settings))
            parts_.radioChoice->SetPollInterval(*ms);
    });
}

void MainMenus::AskMidiInterval()
{
    ReportFailures(alerts_, Routine::AskMidiInterval, [&] {
        if (const auto ms = IntervalQuestion::Ask(IntervalQuestion::MidiTimer(), alerts_, parts_.settings))
            parts_.midi->SetPumpInterval(*ms);
    });
}

QString MainMenus::ReadmePath()
{
    return ProgramFiles::Readme(QCoreApplication::applicationDirPath());
}

void MainMenus::ViewReadme()
{
    ReportFailures(alerts_, Routine::ViewReadme, [&] {
        const QString path = ReadmePath();
        if (!QFileInfo::exists(path))
            throw NumberedError(NumberedError::kFileNotFound, QStringLiteral("File not found: ") + path);
        if (!openDocument(path))
            throw NumberedError(NumberedError::kPathFileAccess, QStringLiteral("No text viewer could open ") + path);
    });
}

void MainMenus::CheckForUpdate()
{
    parts_.SetupWindow(window_).StopMonitor();
    parts_.midi->Close();
    if (parts_.updater) {
        parts_.updater->raise();
        parts_.updater->activateWindow();
    } else {
        parts_.updater = new UpdateWindow(store_, alerts_, parts_.launcher, endProgram_,
                                          IniSettingsStore::ApplicationName(), QString(), &window_);
        parts_.updater->setWindowFlag(Qt::Window);
        parts_.updater->Start();
    }
    if (parts_.options.Autoconnect())
        alerts_.Tell(QStringLiteral("Please reconnect MIDI device after update."), IAlerts::Icon::Information, QStringLiteral("Reconnect MIDI Device"));
}

void MainMenus::ShowAbout()
{
    alerts_.Tell(QStringLiteral("Vorn-MIDI Connector %1\n\n"
                                "A MIDI control surface as a tuning panel for your "
                                "transceiver.\nFree software for radio amateurs. 73!")
                     .arg(QLatin1String(kProgramVersion)),
                 IAlerts::Icon::None, QStringLiteral("Vorn-MIDI Connector"));
}
