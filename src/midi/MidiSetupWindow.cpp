#include "midi/MidiSetupWindow.h"

#include "core/IAlerts.h"
#include "core/Options.h"
#include "core/FailureReport.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/LogView.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QComboBox>
#include <iterator>
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

MidiSetupWindow::MidiSetupWindow(MidiInput& midi, MidiOutput& output, const Options& options, IAlerts& alerts,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), midi_(midi), output_(output), options_(options), alerts_(alerts)
{
    setObjectName(QStringLiteral("midiSetupWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Configure Midi Input"));
    // A second row of buttons, below the first, holds the learning commands;
    // a third the output for the lights.
    setFixedSize(Twips::Rect(0, 0, 4725, 5775).size());
    FormFont::Apply(*this);
    BuildControls();
    CaptionFit::Apply(*this);
    Load();
}

MidiSetupWindow::~MidiSetupWindow()
{
    midi_.StopMonitor();
}

void MidiSetupWindow::BuildControls()
{
    Place(new QLabel(QStringLiteral("Input Devices"), this), "devicesLabel", 1800, 120, 1695, 255);
    deviceList_ = Place(new QListWidget(this), "deviceList", 120, 360, 4455, 1035);
    Place(new QLabel(QStringLiteral("MIDI Received Data"), this), "receivedLabel", 1560, 1440, 1695, 255);
    monitorLog_ = Place(new LogView(this), "monitorLog", 120, 1800, 4455, 2055);
    monitorLog_->setFocusPolicy(Qt::ClickFocus);
    const auto button = [this](const char* caption, const char* name, int left, int top, int width,
                               void (MidiSetupWindow::*clicked)()) {
        auto* b = Place(new WrappingButton(QLatin1String(caption), this), name, left, top, width, 495);
        connect(b, &QPushButton::clicked, this, clicked);
        return b;
    };
    QPushButton* open = button("&Open Selected Input Device", "openButton", 120, 3960, 1575, &MidiSetupWindow::OpenSelected);
    QPushButton* map = button("&Map MIDI", "keyMapButton", 1800, 3960, 855, &MidiSetupWindow::ShowKeyMap);
    QPushButton* close = button("&Close MIDI", "closeMidiButton", 2760, 3960, 855, &MidiSetupWindow::CloseMidi);
    QPushButton* exit = button("E&xit", "exitButton", 3720, 3960, 855, &MidiSetupWindow::Exit);
    QPushButton* learn = button("&Learn Controls...", "learnButton", 120, 4560, 1575, &MidiSetupWindow::LearnControls);
    QPushButton* forget = button("&Forget Learned Controls", "forgetButton", 1800, 4560, 1815,
                                 &MidiSetupWindow::ForgetControls);
    auto* outputLabel = Place(new QLabel(QStringLiteral("Lights &to"), this), "outputLabel", 120, 5220, 735, 255);
    outputList_ = Place(new QComboBox(this), "outputList", 840, 5160, 2775, 375);
    outputLabel->setBuddy(outputList_);
    connect(outputList_, &QComboBox::activated, this, &MidiSetupWindow::TellOutputChoice);
    QPushButton* lights = button("L&ights...", "lightsButton", 3720, 5100, 855, &MidiSetupWindow::ShowLights);
    QWidget* order[] = {exit, deviceList_, open, map, close, learn, forget, outputList_, lights};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MidiSetupWindow::Load()
{
    ReportFailures(alerts_, Routine::MidiSetupLoad, [this] {
        FillOutputList();
        FillDeviceList();
        if (deviceList_->count() == 0) {
            alerts_.Tell(QStringLiteral("No MIDI device found. Please connect one and try again."),
                         IAlerts::Icon::None);
            return;
        }
        deviceList_->setCurrentRow(0);
        if (WantsAutoConnect())
            OpenSelectedDevice();
    });
}

void MidiSetupWindow::FillDeviceList()
{
    deviceList_->clear();
    for (const MidiDevice& device : midi_.ListDevices()) {
        auto* item = new QListWidgetItem(device.name, deviceList_);
        item->setData(Qt::UserRole, device.number);
    }
}

void MidiSetupWindow::FillOutputList()
{
    const QString chosen = options_.Text(Options::Key::MidiOutput);
    outputList_->clear();
    // With the automatic connection on, no choice means the input's own device.
    outputList_->addItem(options_.Autoconnect() ? QStringLiteral("(the input device)") : QStringLiteral("(none)"),
                         QString());
    for (const MidiDevice& device : output_.ListDevices())
        outputList_->addItem(device.name, device.name);
    // A device chosen before that is not there now stays chosen.
    if (!chosen.isEmpty() && outputList_->findData(chosen) < 0)
        outputList_->addItem(QStringLiteral("%1 (not there)").arg(chosen), chosen);
    outputList_->setCurrentIndex(outputList_->findData(chosen));
}

void MidiSetupWindow::ChooseOutput(const QString& name)
{
    const int item = outputList_->findData(name);
    if (item < 0)
        return;
    outputList_->setCurrentIndex(item);
    TellOutputChoice();
}

void MidiSetupWindow::TellOutputChoice()
{
    ReportFailures(alerts_, Routine::ChooseMidiOutput,
                   [this] { emit outputChosen(outputList_->currentData().toString()); });
}

bool MidiSetupWindow::WantsAutoConnect() const
{
    return options_.Autoconnect() && deviceList_->item(0)->text() == AutoConnectDeviceName();
}

void MidiSetupWindow::OpenSelected()
{
    ReportFailures(alerts_, Routine::OpenMidiDevice, [this] { OpenSelectedDevice(); });
}

void MidiSetupWindow::OpenSelectedDevice()
{
    QListWidgetItem* selected = deviceList_->currentItem();
    if (!selected) {
        alerts_.Tell(QStringLiteral("No input device selected!"), IAlerts::Icon::Information, QStringLiteral("Error:"));
        midi_.StopPump();
        return;
    }
    if (midi_.Open(selected->data(Qt::UserRole).toInt()) && monitorEnabled_)
        midi_.StartMonitor(*monitorLog_);
}

void MidiSetupWindow::CloseMidi()
{
    ReportFailures(alerts_, Routine::CloseMidi, [this] {
        StopMonitor();
        midi_.Close();
    });
}

void MidiSetupWindow::ShowKeyMap()
{
    ReportFailures(alerts_, Routine::ShowKeyMap, [this] { emit keyMapWanted(); });
}

void MidiSetupWindow::Exit()
{
    ReportFailures(alerts_, Routine::ExitMidiSetup, [this] { close(); });
}

void MidiSetupWindow::LearnControls()
{
    ReportFailures(alerts_, Routine::LearnControls, [this] {
        if (midi_.IsOpen())
            emit learnControlsWanted();
        else
            alerts_.Tell(QStringLiteral("Please open the MIDI device whose controls are to be "
                                        "learned first."),
                         IAlerts::Icon::Information);
    });
}

void MidiSetupWindow::ForgetControls()
{
    ReportFailures(alerts_, Routine::ForgetControls, [this] {
        if (alerts_.AskYesNo(QStringLiteral("Forget the learned controls? The key maps then apply to the "
                                            "controller numbers of the Vorn-MIDI surface again."),
                             IAlerts::Icon::Information))
            emit forgetControlsWanted();
    });
}

void MidiSetupWindow::ShowLights()
{
    ReportFailures(alerts_, Routine::ShowLights, [this] { emit lightsWanted(); });
}

void MidiSetupWindow::closeEvent(QCloseEvent* event)
{
    // The monitor ends with the window: a closed window waiting for its
    // deletion must not go on taking input away from the main window's pump.
    midi_.StopMonitor();
    QWidget::closeEvent(event);
}

void MidiSetupWindow::StopMonitor()
{
    monitorEnabled_ = false;
    midi_.StopMonitor();
}

bool MidiSetupWindow::SelectDevice(const QString& name)
{
    const QList<QListWidgetItem*> found = deviceList_->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    deviceList_->setCurrentItem(found.first());
    return true;
}

QStringList MidiSetupWindow::ListedDevices() const
{
    QStringList names;
    for (int row = 0; row < deviceList_->count(); ++row)
        names << deviceList_->item(row)->text();
    return names;
}

QStringList MidiSetupWindow::ListedOutputs() const
{
    QStringList names;
    for (int item = 0; item < outputList_->count(); ++item)
        names << outputList_->itemText(item);
    return names;
}

QString MidiSetupWindow::MonitorText() const
{
    return monitorLog_->toPlainText();
}
