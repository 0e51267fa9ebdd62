#pragma once

#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "cat/CatRadio.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLamp.h"
#include "support/RecordingLog.h"

#include <utility>

// The CAT link and the radio on it wired as the program wires them, on a line
// of the test's choice, with everything they report to recorded.
template <class Line, class Alerts = RecordingAlerts>
struct CatRig {
    template <class... LineArguments>
    explicit CatRig(LineArguments&&... arguments) : port(std::forward<LineArguments>(arguments)...)
    {
        options.rigType = RigTypes::Of(RigType::Flex).settingsValue;
    }

    Line port;
    RecordingLog log;
    RecordingLamp lamp;
    Alerts alerts;
    Options options;
    RadioState state;
    CatParser parser{state, lamp, alerts, options};
    CatLink link{port, log, lamp, alerts, state, parser};
    CatRadio radio{link, parser, state, options};
    CatPoll poll{link, alerts};
    QList<int> marks;
    CatLink::PortMarks setMarks = [this](int n) { marks << n; };
};
