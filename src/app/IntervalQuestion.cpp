#include "app/IntervalQuestion.h"

#include "core/IAlerts.h"
#include "core/NumberedError.h"
#include "core/NumberText.h"

#include <cmath>

const IntervalQuestion::Text& IntervalQuestion::PollTimer()
{
    static const Text text{
        QStringLiteral("Enter new poll timer value in milliseconds (suggested 1000 - for 1 second)."),
        QStringLiteral("Enter Poll Timer Value"), 100, 10000,
        QStringLiteral("Please enter a timer value between 100 and 10000."),
        QStringLiteral("Poll Timer Value Error"), OptionsStore::Option::PollTime};
    return text;
}

const IntervalQuestion::Text& IntervalQuestion::MidiTimer()
{
    static const Text text{
        QStringLiteral(
            "Enter new MIDI poll timer value in milliseconds (suggested 100 - for .1 second)."),
        QStringLiteral("Enter MIDI Poll Timer Value"), 10, 1000,
        QStringLiteral("Please enter a timer value between 10 and 1000."),
        QStringLiteral("MIDI Poll Timer Value Error"), OptionsStore::Option::MidiPollTime};
    return text;
}

std::optional<int> IntervalQuestion::Ask(const Text& text, IAlerts& alerts, OptionsStore& settings)
{
    const QString answer = alerts.InputBox(text.prompt, text.title, settings.Value(text.option));
    if (answer.isEmpty())
        return std::nullopt;
    const double value = NumberText::ParseDecimal(answer);
    if (value < text.minimum || value > text.maximum) {
        alerts.MsgBox(text.rangeMessage, IAlerts::Buttons::Ok, IAlerts::Icon::None, text.rangeTitle);
        return std::nullopt;
    }
    // An interval that could not be stored is not used.
    settings.Set(text.option, answer);
    return Milliseconds(answer);
}

int IntervalQuestion::Milliseconds(const QString& text)
{
    const double value = std::nearbyint(NumberText::ParseDecimal(text));
    if (value < 0 || value > 2147483647.0)
        throw NumberedError::Overflow();
    return static_cast<int>(value);
}

int IntervalQuestion::MillisecondsOr(const QString& text, const QString& fallback,
                                     const std::function<void(const NumberedError&)>& report)
{
    try {
        return Milliseconds(text);
    } catch (const NumberedError& e) {
        report(e);
        return Milliseconds(fallback);
    }
}
