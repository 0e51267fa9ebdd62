#pragma once

#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "core/RadioState.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"

#include <utility>

// The CAT link wired as the program wires it, on a port of the test's choice,
// with everything it reports to recorded.
template <class Port, class Alerts = RecordingAlerts>
struct CatRig {
    template <class... PortArguments>
    explicit CatRig(PortArguments&&... arguments) : port(std::forward<PortArguments>(arguments)...)
    {
    }

    Port port;
    RecordingLog log;
    RecordingIndicator lamp;
    Alerts alerts;
    RadioState state;
    CatParser parser{state, lamp, alerts};
    CatLink link{port, log, lamp, alerts, state, parser};
    CatPoll poll{link, alerts};
    QList<int> marks;
    CatLink::PortMarks setMarks = [this](int n) { marks << n; };
};
