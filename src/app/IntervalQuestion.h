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
        OptionsStore::Option option;
    };
    static const Text& PollTimer();
    static const Text& MidiTimer();

    // The new interval in milliseconds once it is stored; nothing when the
    // question was cancelled or the answer is out of range. An answer that is
    // not a number, or a store that fails, is thrown.
    static std::optional<int> Ask(const Text& text, IAlerts& alerts, OptionsStore& settings);

    // A whole number of milliseconds, halves to even; throws when a timer cannot take it.
    static int Milliseconds(const QString& text);
    // Milliseconds(text), or, when the text cannot be one, the failure handed
    // to `report` and Milliseconds(fallback).
    static int MillisecondsOr(const QString& text, const QString& fallback,
                              const std::function<void(const NumberedError&)>& report);
};
