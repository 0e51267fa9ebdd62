#pragma once

#include "core/ILinkState.h"
#include "core/RadioState.h"

// The link as the poll's flag alone tells it, for tests without a serial port.
struct PollFlagLink : ILinkState {
    explicit PollFlagLink(const RadioState& polled) : radio(polled) {}
    bool LinkUp() const override { return radio.valid_cat_a; }
    const RadioState& radio;
};
