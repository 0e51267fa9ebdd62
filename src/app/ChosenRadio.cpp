#include "app/ChosenRadio.h"

ChosenRadio::ChosenRadio(IRadio& radio, QObject* parent) : IRadio(parent), radio_(&radio)
{
    forwarding_ = connect(radio_, &IRadio::stateChanged, this, &IRadio::stateChanged);
}

void ChosenRadio::Use(IRadio& radio)
{
    if (&radio == radio_)
        return;
    const RadioState before = radio_->State();
    disconnect(forwarding_);
    radio_ = &radio;
    forwarding_ = connect(radio_, &IRadio::stateChanged, this, &IRadio::stateChanged);
    if (const RadioState::Fields fields = before.DifferencesTo(radio.State()))
        emit stateChanged(fields, before, radio.State());
}
