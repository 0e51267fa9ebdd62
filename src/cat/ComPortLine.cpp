#include "cat/ComPortLine.h"

#include "cat/PortAddress.h"

ComPortLine::ComPortLine(const ISettingsStore& settings)
    : settings_(settings), serial_(settings), network_(settings), active_(&serial_)
{
}

void ComPortLine::Open(int comNumber)
{
    active_->Close();
    if (PortAddress::IsNetwork(PortAddress::For(settings_, comNumber)))
        active_ = &network_;
    else
        active_ = &serial_;
    active_->Open(comNumber);
}
