#include "dispatch/SurfaceDispatcher.h"

#include "core/FailureReport.h"
#include "core/ILogSink.h"
#include "core/KeyMap.h"
#include "core/Logging.h"
#include "core/NumberText.h"
#include "core/NumberedError.h"
#include "core/Options.h"
#include "core/SurfaceControls.h"

#include <algorithm>
#include <cmath>

namespace {
using Id = SurfaceControls::Id;

bool Is(std::uint8_t dataByte, Id control)
{
    return dataByte == SurfaceControls::Byte(control);
}

bool IsButton(std::uint8_t dataByte)
{
    const std::optional<Id> control = SurfaceControls::OfByte(dataByte);
    return control && SurfaceControls::Get(*control).kind == SurfaceControls::Kind::Button;
}

// The map entry `suffix` of the rig type chosen; a rig type without a map has no entries.
QString EntryOf(const KeyMap& keyMap, const Options& options, const QString& suffix)
{
    const std::optional<RigType> rig = options.Rig();
    if (!rig)
        throw NumberedError::ObjectNotFound(options.Text(Options::Key::RigType) + suffix);
    const QString entry = keyMap.Read(KeyMap::Name(*rig, suffix));
    qCDebug(dispatchTrace) << KeyMap::Name(*rig, suffix) << "->" << entry;
    return entry;
}

QString BytesOf(const MidiEvent& message)
{
    return MidiEvent::Hex2(message.data1) + MidiEvent::Hex2(message.data2);
}
} // namespace

QString SurfaceDispatcher::MissingKeyMessage()
{
    return QStringLiteral(
        "Object not found runtime error. Please verify your Vorn-MIDI knob map is set correctly "
        "(home 100=Wheel A, mode 1 102=Wheel A, mode 2 104=slider B, mode 3 106=slider B.");
}

SurfaceDispatcher::SurfaceDispatcher(const KeyMap& keyMap, const Options& options, IRadio& radio, IAlerts& alerts,
                                     ILogSink& log)
    : keyMap_(keyMap), options_(options), radio_(radio), alerts_(alerts), log_(log), rigctlCommands_(radio, options)
{
}

void SurfaceDispatcher::Dispatch(const MidiEvent& message)
{
    ReportFailures(alerts_, Routine::DispatchMidi, [&] {
        // Nothing is done with MIDI input until the radio has answered the poll.
        if (!radio_.State().answering)
            return;
        try {
            DispatchWheelOrSlider(message);
            DispatchButton(message);
        } catch (const NumberedError& e) {
            if (e.number() != NumberedError::kObjectNotFound)
                throw;
            alerts_.Tell(MissingKeyMessage(), IAlerts::Icon::Information);
        }
    });
}

void SurfaceDispatcher::DispatchWheelOrSlider(const MidiEvent& message)
{
    // VFO B is tuned only once the poll has brought its frequency.
    const bool wheel = Is(message.data1, Id::WheelHome) || (Is(message.data1, Id::WheelMode1) && radio_.State().vfoBKnown);
    QString suffix;
    if (wheel)
        suffix = BytesOf(message);
    else if (Is(message.data1, Id::SliderMode2))
        suffix = KeyMap::PowerSliderSuffix();
    else if (Is(message.data1, Id::SliderMode3))
        suffix = KeyMap::SpeedSliderSuffix();
    else
        return;
    CarryOutWheelEntry(suffix, EntryOf(keyMap_, options_, suffix), message);
}

void SurfaceDispatcher::DispatchButton(const MidiEvent& message)
{
    if (!options_.Rig() || message.data2 != SurfaceControls::kPressed || !IsButton(message.data1))
        return;
    // Every button key of every rig type exists, so this read cannot fail.
    const QString suffix = BytesOf(message);
    const QString entry = EntryOf(keyMap_, options_, suffix);
    if (entry.startsWith(QLatin1Char('#')))
        CarryOutProgramCommand(entry, message.data2);
    else
        CarryOutTextEntry(suffix, entry);
}

void SurfaceDispatcher::CarryOutWheelEntry(const QString& suffix, const QString& entry, const MidiEvent& message)
{
    if (!entry.startsWith(QLatin1Char('#')))
        CarryOutTextEntry(suffix, entry);
    else if (Is(message.data1, Id::WheelHome))
        StepVfo(Vfo::A, entry);
    else if (Is(message.data1, Id::WheelMode1))
        StepVfo(Vfo::B, entry);
    else
        CarryOutProgramCommand(entry, message.data2);
}

void SurfaceDispatcher::CarryOutTextEntry(const QString& suffix, const QString& entry)
{
    if (options_.Rig() != RigType::Hamlib) {
        radio_.SendText(entry);
        return;
    }
    const std::optional<RigCommands::Failure> failure = rigctlCommands_.CarryOut(entry.toLatin1());
    if (failure)
        log_.AppendLine(QStringLiteral("Map entry %1 \"%2\" not carried out: %3, %4.")
                            .arg(KeyMap::LabelOf(suffix), entry, QString::fromLatin1(failure->command),
                                 RigResult::Text(failure->result)));
}

void SurfaceDispatcher::StepVfo(Vfo vfo, const QString& entry)
{
    // The copy moves before the radio answers, so quick steps build on each other.
    const QString direction = entry.mid(1, 2);
    if (direction != QLatin1String("UP") && direction != QLatin1String("DN"))
        return;
    const double from = double(vfo == Vfo::A ? radio_.State().vfoA : radio_.State().vfoB);
    const double delta = std::floor(NumberText::ParseDecimal(entry.mid(3)));
    const double hertz = direction == QLatin1String("UP") ? from + delta : from - delta;
    if (hertz < 0 || hertz > double(kHighestFrequencyHz)) {
        log_.AppendLine(QStringLiteral("Step refused: VFO %1 would be at %2 Hz, outside 0 to %3 Hz.")
                            .arg(vfo == Vfo::A ? QLatin1Char('A') : QLatin1Char('B'))
                            .arg(hertz, 0, 'f', 0)
                            .arg(kHighestFrequencyHz));
        return;
    }
    radio_.StepFrequency(vfo, qint64(hertz));
}

void SurfaceDispatcher::CarryOutProgramCommand(const QString& command, std::uint8_t value)
{
    if (command == QLatin1String("#A>B")) {
        radio_.CopyVfoAToB();
    } else if (command == QLatin1String("#A/B")) {
        radio_.SwapVfos();
    } else if (command == QLatin1String("#MUP")) {
        radio_.StepMode();
    } else if (command == QLatin1String("#TXPWR")) {
        SetLevel("RFPOWER", std::max(Scaled(value), 0) / 100.0);
    } else if (command == QLatin1String("#CWSPD")) {
        SetLevel("KEYSPD", std::max(Scaled(value), 5));
    }
    // "#RIT" and every other text are accepted and do nothing.
}

void SurfaceDispatcher::SetLevel(const QByteArray& level, double value)
{
    if (!radio_.SetLevel(level, value))
        log_.AppendLine(QStringLiteral("Not set: the radio in use has no level %1.").arg(QLatin1String(level)));
}

int SurfaceDispatcher::Scaled(std::uint8_t value)
{
    return NumberText::ToInt16(value * 0.787);
}
