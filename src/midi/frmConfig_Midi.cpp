#include "midi/frmConfig_Midi.h"

#include "app/IAlerts.h"
#include "app/IIndicator.h"
#include "app/LogView.h"
#include "app/Options.h"
#include "app/RuntimeError.h"
#include "app/Twips.h"
#include "app/FormFont.h"
#include "mapedit/MapEditors.h"
#include "app/WrappingButton.h"
#include "midi/MidiFunctions.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kMonitorIntervalMs = 10;

template <class Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(Twips::Rect(left, top, width, height));
    return control;
}

} // namespace

frmConfig_Midi::frmConfig_Midi(const ConfigMidiContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context)
{
    setObjectName(QStringLiteral("frmConfig_Midi"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Configure Midi Input"));
    setFixedSize(Twips::Rect(0, 0, 4725, 4575).size());
    FormFont::Apply(*this);
    BuildControls();
    monitor_ = std::make_unique<MidiPump>(context_.midi, *txtMidiInDump, context_.alerts,
                                          MidiPump::DrainMode::SetupMonitor());
    Form_Load();
}

void frmConfig_Midi::BuildControls()
{
    Label1 = Place(new QLabel(QStringLiteral("Input Devices"), this), "Label1", 1800, 120, 1695, 255);
    lstInDevs = Place(new QListWidget(this), "lstInDevs", 120, 360, 4455, 1035);
    Label2 = Place(new QLabel(QStringLiteral("MIDI Received Data"), this), "Label2", 1560, 1440,
                   1695, 255);
    txtMidiInDump = Place(new LogView(this), "txtMidiInDump", 120, 1800, 4455, 2055);
    txtMidiInDump->setFocusPolicy(Qt::ClickFocus);
    btnOpenInputDevice =
        Place(new WrappingButton(QStringLiteral("&Open Selected Input Device"), this),
              "btnOpenInputDevice", 120, 3960, 1575, 495);
    cmdMapMidi = Place(new QPushButton(QStringLiteral("&Map MIDI"), this), "cmdMapMidi", 1800,
                       3960, 855, 495);
    cmdClose = Place(new QPushButton(QStringLiteral("&Close MIDI"), this), "cmdClose", 2760, 3960,
                     855, 495);
    cmdExit = Place(new QPushButton(QStringLiteral("E&xit"), this), "cmdExit", 3720, 3960, 855, 495);

    setTabOrder(cmdExit, lstInDevs);
    setTabOrder(lstInDevs, btnOpenInputDevice);
    setTabOrder(btnOpenInputDevice, cmdMapMidi);
    setTabOrder(cmdMapMidi, cmdClose);

    connect(btnOpenInputDevice, &QPushButton::clicked, this,
            &frmConfig_Midi::btnOpenInputDevice_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmConfig_Midi::cmdClose_Click);
    connect(cmdMapMidi, &QPushButton::clicked, this, &frmConfig_Midi::cmdMapMidi_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmConfig_Midi::cmdExit_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // The drain routine keeps itself from re-entering under a modal box and
    // reports its own failures as "frmConfig_Midi_Timer1_tick".
    connect(Timer1, &QTimer::timeout, this, [this] { monitor_->Tick(); });
}

void frmConfig_Midi::Form_Load()
{
    // A new window starts with an empty monitor log.
    RunGuarded(context_.alerts, QStringLiteral("frmConfig_Midi_load"), [this] {
        FillDeviceList();
        if (lstInDevs->count() == 0) {
            context_.alerts.MsgBox(
                QStringLiteral("No MIDI device found. Please connect one and try again."),
                IAlerts::Buttons::Ok, IAlerts::Icon::None);
            return;
        }
        lstInDevs->setCurrentRow(0);
        if (WantsAutoConnect())
            OpenSelectedDevice();
    });
}

void frmConfig_Midi::FillDeviceList()
{
    MidiFunctions::DeviceList devices;
    context_.midi.ListMidiInDevices(devices);
    lstInDevs->clear();
    for (const auto& [name, deviceId] : devices) {
        auto* item = new QListWidgetItem(name, lstInDevs);
        item->setData(Qt::UserRole, deviceId);
    }
}

bool frmConfig_Midi::WantsAutoConnect() const
{
    return context_.options.AutoconnectIsOn() &&
           lstInDevs->item(0)->text() == AutoConnectDeviceName();
}

void frmConfig_Midi::btnOpenInputDevice_Click()
{
    RunGuarded(context_.alerts, QStringLiteral("btnShowInputDevice_click"),
               [this] { OpenSelectedDevice(); });
}

void frmConfig_Midi::OpenSelectedDevice()
{
    QListWidgetItem* selected = lstInDevs->currentItem();
    if (!selected) {
        context_.alerts.MsgBox(QStringLiteral("No input device selected!"), IAlerts::Buttons::Ok,
                               IAlerts::Icon::Information, QStringLiteral("Error:"));
        context_.tmrMIDI.stop();
        return;
    }
    MidiFunctions& midi = context_.midi;
    midi.OpenMidiIn(selected->data(Qt::UserRole).toInt());
    // The MIDI module has shown why the open failed; the lamp must not claim
    // a connection and the pump has nothing to drain.
    if (midi.hMidiIn() == 0) {
        context_.tmrMIDI.stop();
        context_.shpMidiEnabled.SetFillColor(IIndicator::kRed);
        return;
    }
    midi.Api().Start(midi.hMidiIn());
    StartMonitor();
    context_.tmrMIDI.start();
    context_.shpMidiEnabled.SetFillColor(IIndicator::kGreen);
}

void frmConfig_Midi::StartMonitor()
{
    Timer1->setInterval(kMonitorIntervalMs);
    if (timer1Enabled_)
        Timer1->start();
}

void frmConfig_Midi::cmdClose_Click()
{
    RunGuarded(context_.alerts, QStringLiteral("frmConfig_Midi_CloseMIDI_click"), [this] {
        context_.tmrMIDI.stop();
        StopMonitor();
        context_.midi.CloseMidiIn();
        context_.shpMidiEnabled.SetFillColor(IIndicator::kRed);
    });
}

void frmConfig_Midi::cmdMapMidi_Click()
{
    RunGuarded(context_.alerts, QStringLiteral("cmdMap_Midi_click"),
               [this] { context_.mapEditors.Show(context_.options.rigtype); });
}

void frmConfig_Midi::cmdExit_Click()
{
    RunGuarded(context_.alerts, QStringLiteral("frmConfig_Midi_Exit_click"), [this] { close(); });
}

void frmConfig_Midi::closeEvent(QCloseEvent* event)
{
    // The monitor ends with the window: a closed window waiting for its
    // deletion must not go on taking input away from the main window's pump.
    Timer1->stop();
    QWidget::closeEvent(event);
}

void frmConfig_Midi::StopMonitor()
{
    timer1Enabled_ = false;
    Timer1->stop();
}
