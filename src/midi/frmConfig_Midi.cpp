#include "midi/frmConfig_Midi.h"

#include "core/IAlerts.h"
#include "core/Options.h"
#include "core/RuntimeError.h"
#include "midi/MidiInput.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/LogView.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

template <class Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(Twips::Rect(left, top, width, height));
    return control;
}

} // namespace

frmConfig_Midi::frmConfig_Midi(MidiInput& midi, const Options& options, IAlerts& alerts,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), midi_(midi), options_(options), alerts_(alerts)
{
    setObjectName(QStringLiteral("frmConfig_Midi"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Configure Midi Input"));
    // A second row of buttons, below the first, holds the learning commands.
    setFixedSize(Twips::Rect(0, 0, 4725, 5175).size());
    FormFont::Apply(*this);
    BuildControls();
    CaptionFit::Apply(*this);
    Form_Load();
}

frmConfig_Midi::~frmConfig_Midi()
{
    midi_.StopMonitor();
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
    cmdMapMidi = Place(new WrappingButton(QStringLiteral("&Map MIDI"), this), "cmdMapMidi", 1800,
                       3960, 855, 495);
    cmdClose = Place(new WrappingButton(QStringLiteral("&Close MIDI"), this), "cmdClose", 2760,
                     3960, 855, 495);
    cmdExit =
        Place(new WrappingButton(QStringLiteral("E&xit"), this), "cmdExit", 3720, 3960, 855, 495);
    cmdLearn = Place(new WrappingButton(QStringLiteral("&Learn Controls..."), this), "cmdLearn", 120,
                     4560, 1575, 495);
    cmdForget = Place(new WrappingButton(QStringLiteral("&Forget Learned Controls"), this),
                      "cmdForget", 1800, 4560, 1815, 495);

    setTabOrder(cmdExit, lstInDevs);
    setTabOrder(lstInDevs, btnOpenInputDevice);
    setTabOrder(btnOpenInputDevice, cmdMapMidi);
    setTabOrder(cmdMapMidi, cmdClose);
    setTabOrder(cmdClose, cmdLearn);
    setTabOrder(cmdLearn, cmdForget);

    connect(btnOpenInputDevice, &QPushButton::clicked, this,
            &frmConfig_Midi::btnOpenInputDevice_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmConfig_Midi::cmdClose_Click);
    connect(cmdMapMidi, &QPushButton::clicked, this, &frmConfig_Midi::cmdMapMidi_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmConfig_Midi::cmdExit_Click);
    connect(cmdLearn, &QPushButton::clicked, this, &frmConfig_Midi::cmdLearn_Click);
    connect(cmdForget, &QPushButton::clicked, this, &frmConfig_Midi::cmdForget_Click);
}

void frmConfig_Midi::Form_Load()
{
    RunGuarded(alerts_, QStringLiteral("frmConfig_Midi_load"), [this] {
        FillDeviceList();
        if (lstInDevs->count() == 0) {
            alerts_.MsgBox(QStringLiteral("No MIDI device found. Please connect one and try again."),
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
    lstInDevs->clear();
    for (const MidiDevice& device : midi_.ListDevices()) {
        auto* item = new QListWidgetItem(device.name, lstInDevs);
        item->setData(Qt::UserRole, device.number);
    }
}

bool frmConfig_Midi::WantsAutoConnect() const
{
    return options_.AutoconnectIsOn() && lstInDevs->item(0)->text() == AutoConnectDeviceName();
}

void frmConfig_Midi::btnOpenInputDevice_Click()
{
    RunGuarded(alerts_, QStringLiteral("btnShowInputDevice_click"), [this] { OpenSelectedDevice(); });
}

void frmConfig_Midi::OpenSelectedDevice()
{
    QListWidgetItem* selected = lstInDevs->currentItem();
    if (!selected) {
        alerts_.MsgBox(QStringLiteral("No input device selected!"), IAlerts::Buttons::Ok,
                       IAlerts::Icon::Information, QStringLiteral("Error:"));
        midi_.StopPump();
        return;
    }
    if (midi_.Open(selected->data(Qt::UserRole).toInt()) && monitorEnabled_)
        midi_.StartMonitor(*txtMidiInDump);
}

void frmConfig_Midi::cmdClose_Click()
{
    RunGuarded(alerts_, QStringLiteral("frmConfig_Midi_CloseMIDI_click"), [this] {
        StopMonitor();
        midi_.Close();
    });
}

void frmConfig_Midi::cmdMapMidi_Click()
{
    RunGuarded(alerts_, QStringLiteral("cmdMap_Midi_click"),
               [this] { emit mapEditorWanted(options_.rigtype); });
}

void frmConfig_Midi::cmdExit_Click()
{
    RunGuarded(alerts_, QStringLiteral("frmConfig_Midi_Exit_click"), [this] { close(); });
}

void frmConfig_Midi::cmdLearn_Click()
{
    RunGuarded(alerts_, QStringLiteral("cmdLearn_click"), [this] {
        if (midi_.IsOpen())
            emit learnControlsWanted();
        else
            alerts_.MsgBox(QStringLiteral("Please open the MIDI device whose controls are to be "
                                          "learned first."),
                           IAlerts::Buttons::Ok, IAlerts::Icon::Information);
    });
}

void frmConfig_Midi::cmdForget_Click()
{
    RunGuarded(alerts_, QStringLiteral("cmdForget_click"), [this] {
        const IAlerts::Answer answer = alerts_.MsgBox(
            QStringLiteral("Forget the learned controls? The key maps then apply to the "
                           "controller numbers of the Vorn-MIDI surface again."),
            IAlerts::Buttons::YesNo, IAlerts::Icon::Information);
        if (answer == IAlerts::Answer::Yes)
            emit forgetControlsWanted();
    });
}

void frmConfig_Midi::closeEvent(QCloseEvent* event)
{
    // The monitor ends with the window: a closed window waiting for its
    // deletion must not go on taking input away from the main window's pump.
    midi_.StopMonitor();
    QWidget::closeEvent(event);
}

void frmConfig_Midi::StopMonitor()
{
    monitorEnabled_ = false;
    midi_.StopMonitor();
}
