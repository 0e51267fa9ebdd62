#include "cat/ComPortLine.h"

#include "cat/PortAddress.h"
#include "cat/SystemLines.h"

ComPortLine::ComPortLine(const ISettingsStore& settings)
    : settings_(settings), serial_(SystemLines::MakeSerialLine(settings)), network_(settings),
      active_(serial_.get())
{
}

void ComPortLine::Open(int comNumber)
{
    active_->Close();
    if (PortAddress::IsNetwork(PortAddress::For(settings_, comNumber)))
        active_ = &network_;
    else
        active_ = serial_.get();
    active_->Open(comNumber);
}
