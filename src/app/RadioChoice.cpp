#include "app/RadioChoice.h"

#include "app/PortDevicesDialog.h"
#include "cat/SystemLines.h"
#include "cat/CatPoll.h"
#include "cat/CatRadio.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "core/NumberText.h"
#include "core/Options.h"
#include "core/OptionsStore.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelDialog.h"
#include "hamlib/HamlibModels.h"
#include "hamlib/HamlibRadio.h"

#include <QWidget>

namespace {
using Key = Options::Key;

void ShowPortMissing(IAlerts& alerts)
{
    alerts.Tell(QStringLiteral("Please select a CAT Com port first."), IAlerts::Icon::None,
                QStringLiteral("Com Port error"));
}
} // namespace

RadioChoice::RadioChoice(OptionsStore& settings, CatLink& link, CatPoll& poll, CatRadio& catRadio, ILogSink& catLog,
                         IAlerts& alerts, PortMarks marks, QObject* parent)
    : QObject(parent), settings_(settings), link_(link), poll_(poll), catRadio_(catRadio), catLog_(catLog),
      alerts_(alerts), marks_(std::move(marks)), radio_(new ChosenRadio(catRadio, this))
{
}

// The Hamlib radio is closed, and its thread joined, before the parts it reports to go.
RadioChoice::~RadioChoice() = default;

bool RadioChoice::HamlibStored() const
{
    return settings_.options().Rig() == RigType::Hamlib;
}

void RadioChoice::AskForMissingPort()
{
    if (!HamlibStored()) {
        const QString& port = settings_.options().Text(Key::CatPort);
        if (port.isEmpty() || NumberText::ParseDecimal(port) == 0)
            ShowPortMissing(alerts_);
        return;
    }
    LoadHamlibRadio();
    // A model that needs no port (Hamlib's dummy) is never missing one.
    const HamlibModel* model = HamlibModels::Instance().Find(settings_.options().HamlibModel().value_or(0));
    if (settings_.options().Text(Key::HamlibPort).isEmpty() && (!model || model->portKind != HamlibPortKind::Other))
        ShowPortMissing(alerts_);
}

void RadioChoice::LoadHamlibRadio()
{
    settings_.Load(Key::HamlibModel);
    settings_.Load(Key::HamlibPort);
    settings_.Load(Key::HamlibSpeed);
}

void RadioChoice::StartPoll()
{
    if (!HamlibStored()) {
        // A chosen port that could not be opened is polled too: the poll opens it once it is there.
        if (link_.ChosenPort() != 0)
            poll_.Start();
        return;
    }
    QString why;
    hamlibConfig_ = StoredHamlibRadio(why);
    if (hamlibConfig_)
        UseHamlib();
    else
        alerts_.Tell(QStringLiteral("The radio chosen in section [%1] of the settings file cannot be "
                                    "used: %2\n\nChoose it again in Rig Type, Other Radio (Hamlib)...")
                         .arg(Options::Section(), why),
                     IAlerts::Icon::Information);
}

std::optional<HamlibConfig> RadioChoice::StoredHamlibRadio(QString& why) const
{
    const Options& options = settings_.options();
    const std::optional<int> model = options.HamlibModel();
    if (!model || !HamlibModels::Instance().Find(*model)) {
        why = QStringLiteral("%1=%2 is not a radio model Hamlib knows.")
                  .arg(Options::Name(Key::HamlibModel), options.Text(Key::HamlibModel));
        return std::nullopt;
    }
    const std::optional<int> speed = options.HamlibSpeed();
    if (!speed) {
        why = QStringLiteral("%1=%2 is not a serial speed.")
                  .arg(Options::Name(Key::HamlibSpeed), options.Text(Key::HamlibSpeed));
        return std::nullopt;
    }
    return HamlibConfig{*model, options.Text(Key::HamlibPort), *speed};
}

void RadioChoice::SetPollInterval(int milliseconds)
{
    poll_.SetInterval(milliseconds);
    if (hamlibLink_)
        hamlibLink_->SetPollInterval(milliseconds);
}

void RadioChoice::StopPoll()
{
    poll_.Stop();
    if (hamlibLink_)
        hamlibLink_->Close();
}

void RadioChoice::SelectComPort(int number)
{
    settings_.Set(Key::CatPort, QString::number(number));
    if (HamlibStored())
        marks_(number);
    else
        link_.SelectPort(number, marks_);
}

void RadioChoice::PollOwnLink()
{
    if (!HamlibStored())
        poll_.Start();
}

void RadioChoice::SelectNoPort()
{
    settings_.Set(Key::CatPort, QStringLiteral("0"));
    link_.SelectNone(marks_);
}

void RadioChoice::SelectRigType(RigType rig, QWidget& windowParent)
{
    if (rig == RigType::Hamlib) {
        if (!hamlibConfig_) {
            LoadHamlibRadio();
            QString unusable;
            hamlibConfig_ = StoredHamlibRadio(unusable);
        }
        auto* dialog = new HamlibModelDialog(SystemLines::SerialPorts(), hamlibConfig_.value_or(HamlibConfig()),
                                             &windowParent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QDialog::accepted, this, [this, dialog] {
            const HamlibConfig config = dialog->config();
            ReportFailures(alerts_, Routine::ChooseHamlib, [&] { TakeHamlibChoice(config); });
        });
        dialog->open();
        return;
    }
    // A store that fails leaves the choice in effect for this run, as every option's does.
    const bool leavingHamlib = HamlibStored();
    settings_.options().SetText(Key::RigType, RigTypes::Of(rig).settingsValue);
    emit rigTypeChanged();
    if (leavingHamlib)
        UseOwnLink();
    settings_.Store(Key::RigType);
}

void RadioChoice::TakeHamlibChoice(const HamlibConfig& config)
{
    hamlibConfig_ = config;
    settings_.options().SetText(Key::RigType, RigTypes::Of(RigType::Hamlib).settingsValue);
    emit rigTypeChanged();
    UseHamlib();
    settings_.Set(Key::HamlibModel, QString::number(config.model));
    settings_.Set(Key::HamlibPort, config.port);
    settings_.Set(Key::HamlibSpeed, config.speed > 0 ? QString::number(config.speed) : QString());
    settings_.Store(Key::RigType);
}

void RadioChoice::BuildHamlibSide()
{
    if (hamlibLink_)
        return;
    hamlibLink_ = std::make_unique<HamlibLink>(poll_.Interval());
    hamlibRadio_ = std::make_unique<HamlibRadio>(*hamlibLink_, catLog_);
}

void RadioChoice::UseHamlib()
{
    // The COM port is left to the radio's other programs, and stays chosen for the day it is used again.
    poll_.Stop();
    link_.SelectNone([](int) {});
    BuildHamlibSide();
    hamlibRadio_->Reset();
    radio_->Use(*hamlibRadio_);
    hamlibLink_->SetPollInterval(poll_.Interval());
    hamlibLink_->Open(*hamlibConfig_);
}

void RadioChoice::UseOwnLink()
{
    if (hamlibLink_) {
        hamlibLink_->Close();
        hamlibRadio_->Reset();
    }
    radio_->Use(catRadio_);
    if (const int number = settings_.options().ComPort().value_or(0)) {
        // A port not there is reported as its menu item reports it, and the poll opens it once it is.
        poll_.Start();
        ReportFailures(alerts_, ChooseComRoutine(number), [&] { link_.SelectPort(number, marks_); });
    }
}
