#pragma once

#include "core/OptionsStore.h"

#include <QString>
#include <functional>
#include <optional>

class IAlerts;
class NumberedError;

// The two timer questions of the Options menu ("&CAT Poll Timer Value",
// "&MIDI Poll Timer Value"): asks for a new interval, checks its range and
// stores the answer as typed. UI thread only.
class IntervalQuestion {
public:
    struct Text {
        QString prompt;
        QString title;
        double minimum;
        double maximum;
        QString rangeMessage;
        QString rangeTitle;
        Options::Key key;
    };
    static const Text& PollTimer();
    static const Text& MidiTimer();

    // The new interval in milliseconds once it is stored; nothing when the
    // question was cancelled or the answer is out of range. An answer that is
    // not a number, or a store that fails, is thrown.
    static std::optional<int> Ask(const Text& text, IAlerts& alerts, OptionsStore& settings);

    // The interval stored under `key` in milliseconds, or, when its text is
    // none a timer takes, the failure handed to `report` and the default's.
    static int StoredOrDefault(const Options& options, Options::Key key,
                               const std::function<void(const NumberedError&)>& report);
};
