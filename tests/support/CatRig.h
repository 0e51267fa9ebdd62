#pragma once

#include "cat/CatLink.h"
#include "cat/CatPoll.h"
#include "cat/CatRadio.h"
#include "core/Options.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <utility>

// The CAT link and the radio on it wired as the program wires them, on a line
// of the test's choice, with everything they report to recorded.
template <class Line, class Alerts = RecordingAlerts>
struct CatRig {
    template <class... LineArguments>
    explicit CatRig(LineArguments&&... arguments) : port(std::forward<LineArguments>(arguments)...)
    {
        options.SetText(Options::Key::RigType, RigTypes::Of(RigType::Flex).settingsValue);
    }

    Line port;
    RecordingLog log;
    Alerts alerts;
    Options options;
    CatRadio radio{link, alerts, options};
    CatLink link{port, log, alerts, radio};
    CatPoll poll{link, alerts};
    QList<int> marks;
    CatLink::PortMarks setMarks = [this](int n) { marks << n; };

    const RadioState& state() const { return radio.State(); }
};
