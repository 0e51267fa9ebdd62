#include "app/RadioChoice.h"

#include "app/PortDevicesDialog.h"
#include "cat/SystemLines.h"
#include "cat/CatPoll.h"
#include "cat/CatRadio.h"
#include "core/FailureReport.h"
#include "core/IAlerts.h"
#include "core/ILamp.h"
#include "core/NumberText.h"
#include "core/OptionsStore.h"
#include "core/RadioState.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelDialog.h"
#include "hamlib/HamlibModels.h"
#include "hamlib/HamlibRadio.h"

#include <QWidget>
#include <cmath>

namespace {
using Option = OptionsStore::Option;

void ShowPortMissing(IAlerts& alerts)
{
    alerts.MsgBox(QStringLiteral("Please select a CAT Com port first."), IAlerts::Buttons::Ok, IAlerts::Icon::None,
                  QStringLiteral("Com Port error"));
}
} // namespace

RadioChoice::RadioChoice(OptionsStore& settings, RadioState& state, CatLink& link, CatPoll& poll,
                         CatRadio& catRadio, ILamp& catLamp, ILogSink& catLog, IAlerts& alerts, PortMarks marks,
                         QObject* parent)
    : QObject(parent), settings_(settings), state_(state), link_(link), poll_(poll), catRadio_(catRadio),
      catLamp_(catLamp), catLog_(catLog), alerts_(alerts), marks_(std::move(marks)), radio_(catRadio)
{
}

// The Hamlib radio is closed, and its thread joined, before the parts it reports to go.
RadioChoice::~RadioChoice() = default;

bool RadioChoice::HamlibStored() const
{
    return settings_.options().Rig() == RigType::Hamlib;
}

int RadioChoice::StoredComPort() const
{
    const double chosen = NumberText::LeadingNumber(settings_.options().catPort);
    return chosen >= 1 && chosen <= PortDevicesDialog::kPorts && chosen == std::floor(chosen) ? int(chosen) : 0;
}

void RadioChoice::AskForMissingPort()
{
    if (!HamlibStored()) {
        const QString& port = settings_.options().catPort;
        if (port.isEmpty() || NumberText::ParseDecimal(port) == 0)
            ShowPortMissing(alerts_);
        return;
    }
    LoadHamlibRadio();
    // A model that needs no port (Hamlib's dummy) is never missing one.
    const HamlibModel* model = HamlibModels::Instance().Find(settings_.options().hamlibModel.toInt());
    if (settings_.options().hamlibPort.isEmpty() && (!model || model->portKind != HamlibPortKind::Other))
        ShowPortMissing(alerts_);
}

void RadioChoice::LoadHamlibRadio()
{
    settings_.Load(Option::HamlibModel);
    settings_.Load(Option::HamlibPort);
    settings_.Load(Option::HamlibSpeed);
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
        alerts_.MsgBox(QStringLiteral("The radio chosen in section [settings] of the settings file cannot be "
                                      "used: %1\n\nChoose it again in Rig Type, Other Radio (Hamlib)...")
                           .arg(why),
                       IAlerts::Buttons::Ok, IAlerts::Icon::Information);
}

std::optional<HamlibConfig> RadioChoice::StoredHamlibRadio(QString& why) const
{
    const Options& options = settings_.options();
    bool isNumber = false;
    const int model = options.hamlibModel.toInt(&isNumber);
    if (!isNumber || !HamlibModels::Instance().Find(model)) {
        why = QStringLiteral("hamlibmodel=%1 is not a radio model Hamlib knows.").arg(options.hamlibModel);
        return std::nullopt;
    }
    const int speed = options.hamlibSpeed.isEmpty() ? 0 : options.hamlibSpeed.toInt(&isNumber);
    if (!isNumber || speed < 0) {
        why = QStringLiteral("hamlibspeed=%1 is not a serial speed.").arg(options.hamlibSpeed);
        return std::nullopt;
    }
    return HamlibConfig{model, options.hamlibPort, speed};
}

void RadioChoice::SetPollInterval(int milliseconds)
{
    pollMs_ = milliseconds;
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
    settings_.Set(Option::CatPort, QString::number(number));
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
    settings_.Set(Option::CatPort, QStringLiteral("0"));
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
    settings_.options().rigType = RigTypes::Of(rig).settingsValue;
    emit rigTypeChanged();
    if (leavingHamlib)
        UseOwnLink();
    settings_.Store(Option::RigType);
}

void RadioChoice::TakeHamlibChoice(const HamlibConfig& config)
{
    hamlibConfig_ = config;
    settings_.options().rigType = RigTypes::Of(RigType::Hamlib).settingsValue;
    emit rigTypeChanged();
    UseHamlib();
    settings_.Set(Option::HamlibModel, QString::number(config.model));
    settings_.Set(Option::HamlibPort, config.port);
    settings_.Set(Option::HamlibSpeed, config.speed > 0 ? QString::number(config.speed) : QString());
    settings_.Store(Option::RigType);
}

void RadioChoice::BuildHamlibSide()
{
    if (hamlibLink_)
        return;
    hamlibLink_ = std::make_unique<HamlibLink>();
    hamlibRadio_ = std::make_unique<HamlibRadio>(*hamlibLink_, state_, catLamp_, catLog_);
}

void RadioChoice::UseHamlib()
{
    // The COM port is left to the radio's other programs, and stays chosen for the day it is used again.
    poll_.Stop();
    link_.SelectNone([](int) {});
    BuildHamlibSide();
    hamlibRadio_->Reset();
    radio_.Use(*hamlibRadio_);
    hamlibLink_->SetPollInterval(pollMs_);
    hamlibLink_->Open(*hamlibConfig_);
}

void RadioChoice::UseOwnLink()
{
    if (hamlibLink_) {
        hamlibLink_->Close();
        hamlibRadio_->Reset();
    }
    radio_.Use(catRadio_);
    state_ = RadioState();
    catLamp_.SetUp(false);
    if (const int number = StoredComPort()) {
        // A port not there is reported as its menu item reports it, and the poll opens it once it is.
        poll_.Start();
        ReportFailures(alerts_, ChooseComRoutine(number), [&] { link_.SelectPort(number, marks_); });
    }
}
