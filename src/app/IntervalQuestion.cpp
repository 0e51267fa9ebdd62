#include "app/IntervalQuestion.h"

#include "core/IAlerts.h"
#include "core/NumberedError.h"
#include "core/NumberText.h"


const IntervalQuestion::Text& IntervalQuestion::PollTimer()
{
    static const Text text{
        QStringLiteral("Enter new poll timer value in milliseconds (suggested 1000 - for 1 second)."),
        QStringLiteral("Enter Poll Timer Value"), 100, 10000,
        QStringLiteral("Please enter a timer value between 100 and 10000."),
        QStringLiteral("Poll Timer Value Error"), Options::Key::PollTime};
    return text;
}

const IntervalQuestion::Text& IntervalQuestion::MidiTimer()
{
    static const Text text{
        QStringLiteral(
            "Enter new MIDI poll timer value in milliseconds (suggested 100 - for .1 second)."),
        QStringLiteral("Enter MIDI Poll Timer Value"), 10, 1000,
        QStringLiteral("Please enter a timer value between 10 and 1000."),
        QStringLiteral("MIDI Poll Timer Value Error"), Options::Key::MidiPollTime};
    return text;
}

std::optional<int> IntervalQuestion::Ask(const Text& text, IAlerts& alerts, OptionsStore& settings)
{
    const QString answer = alerts.AskForText(text.prompt, text.title, settings.options().Text(text.key));
    if (answer.isEmpty())
        return std::nullopt;
    const double value = NumberText::ParseDecimal(answer);
    if (value < text.minimum || value > text.maximum) {
        alerts.Tell(text.rangeMessage, IAlerts::Icon::None, text.rangeTitle);
        return std::nullopt;
    }
    // An interval that could not be stored is not used.
    settings.Set(text.key, answer);
    return Options::Milliseconds(answer);
}

int IntervalQuestion::StoredOrDefault(const Options& options, Options::Key key,
                                      const std::function<void(const NumberedError&)>& report)
{
    try {
        return options.Milliseconds(key);
    } catch (const NumberedError& e) {
        report(e);
        return Options::Milliseconds(Options::Default(key));
    }
}
