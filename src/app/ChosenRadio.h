#pragma once

#include "core/IRadio.h"

// The radio of the rig type chosen, as the dispatcher, the network rig
// control and the lamps see it: every operation goes to the radio in use,
// which changes when the rig type moves between the program's own CAT link
// and Hamlib; its state is that radio's, and a change of radio is a change of
// state like any other. UI thread only.
class ChosenRadio : public IRadio {
    Q_OBJECT
public:
    explicit ChosenRadio(IRadio& radio, QObject* parent = nullptr);
    void Use(IRadio& radio);

    const RadioState& State() const override { return radio_->State(); }
    QList<RadioMode> Modes() const override { return radio_->Modes(); }
    RadioAbilities Abilities() const override { return radio_->Abilities(); }
    void StepFrequency(Vfo vfo, qint64 hertz) override { radio_->StepFrequency(vfo, hertz); }
    void SetFrequency(Vfo vfo, qint64 hertz) override { radio_->SetFrequency(vfo, hertz); }
    void SwapVfos() override { radio_->SwapVfos(); }
    void CopyVfoAToB() override { radio_->CopyVfoAToB(); }
    void StepMode() override { radio_->StepMode(); }
    bool SetMode(const QByteArray& name, long passbandHz) override { return radio_->SetMode(name, passbandHz); }
    void SetSplit(bool on) override { radio_->SetSplit(on); }
    void SetTransmit(bool on) override { radio_->SetTransmit(on); }
    void SendText(const QString& text) override { radio_->SendText(text); }
    bool SetRit(int hertz) override { return radio_->SetRit(hertz); }
    bool SetXit(int hertz) override { return radio_->SetXit(hertz); }
    bool SetFunction(const QByteArray& name, bool on) override { return radio_->SetFunction(name, on); }
    bool SetLevel(const QByteArray& name, double value) override { return radio_->SetLevel(name, value); }
    bool RunVfoOperation(const QByteArray& name) override { return radio_->RunVfoOperation(name); }

private:
    IRadio* radio_;
    QMetaObject::Connection forwarding_;
};
