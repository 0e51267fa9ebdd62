#include "translation/Translator.h"

#include "core/ICatSender.h"
#include "core/ILogSink.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "core/RuntimeError.h"
#include "core/VbError.h"
#include "core/VbNumber.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kRoutine = QStringLiteral("ProcessMIDI");
constexpr int kFrequencyDigits = 11;
// What the radio's eleven-digit frequency field holds.
constexpr double kHighestHz = 99999999999.0;
// The surface's controller numbers (first data byte) and a button's press value.
constexpr std::uint8_t kWheelHome = 0x64;
constexpr std::uint8_t kWheelMode1 = 0x66;
constexpr std::uint8_t kSliderMode2 = 0x68;
constexpr std::uint8_t kSliderMode3 = 0x6A;
constexpr std::uint8_t kPressed = 0x7F;

} // namespace

QString Translator::MissingKeyMessage()
{
    return QStringLiteral(
        "Object not found runtime error. Please verify your Vorn-MIDI knob map is set correctly "
        "(home 100=Wheel A, mode 1 102=Wheel A, mode 2 104=slider B, mode 3 106=slider B.");
}

Translator::Translator(const KeyMap& keyMap, RadioState& radio, const Options& options,
                       ICatSender& cat, IAlerts& alerts, ILogSink& log)
    : keyMap_(keyMap), radio_(radio), options_(options), cat_(cat), alerts_(alerts), log_(log)
{
}

void Translator::ProcessMIDI(const MidiEvent& message)
{
    RunGuarded(alerts_, kRoutine, [&] {
        try {
            Translate(message);
        } catch (const VbError& e) {
            if (e.number() != VbError::kObjectNotFound)
                throw;
            alerts_.MsgBox(MissingKeyMessage(), IAlerts::Buttons::Ok, IAlerts::Icon::Information);
        }
    });
}

void Translator::Translate(const MidiEvent& message)
{
    // Nothing is done with MIDI input until the radio has answered the poll.
    if (!radio_.valid_cat_a)
        return;
    TranslateWheelOrSlider(message);
    TranslateButton(message);
}

void Translator::TranslateWheelOrSlider(const MidiEvent& message)
{
    // VFO B is tuned only once the poll has brought its frequency.
    const bool wheel = message.data1 == kWheelHome || (message.data1 == kWheelMode1 && radio_.valid_cat_b);
    QString key;
    if (wheel)
        key = RigPrefix() + MidiEvent::Hex2(message.data1) + MidiEvent::Hex2(message.data2);
    else if (message.data1 == kSliderMode2)
        key = RigPrefix() + QStringLiteral("km2sldb");
    else if (message.data1 == kSliderMode3)
        key = RigPrefix() + QStringLiteral("km3sldb");
    else
        return;
    ProcessWheel(keyMap_.Read(key), message);
}

void Translator::TranslateButton(const MidiEvent& message)
{
    QString prefix;
    if (options_.rigtype == QLatin1String("elecraft"))
        prefix = QStringLiteral("e");
    else if (options_.rigtype == QLatin1String("flex"))
        prefix = QStringLiteral("f");
    else
        return;
    if (message.data2 != kPressed || !IsButton(message.data1))
        return;
    // Every button key of both rig types exists, so this read cannot fail.
    const QString entry =
        keyMap_.Read(prefix + MidiEvent::Hex2(message.data1) + MidiEvent::Hex2(message.data2));
    if (entry.startsWith(QLatin1Char('#')))
        SendCatByCode(entry, message.data2);
    else
        cat_.SendCAT(entry);
}

QString Translator::RigPrefix() const
{
    return options_.rigtype.left(1);
}

bool Translator::IsButton(std::uint8_t control)
{
    // Buttons 1 to 6 short (0x01-0x06) and long (0x0B-0x10).
    return (control >= 0x01 && control <= 0x06) || (control >= 0x0B && control <= 0x10);
}

void Translator::ProcessWheel(const QString& entry, const MidiEvent& message)
{
    if (!entry.startsWith(QLatin1Char('#'))) {
        cat_.SendCAT(entry);
        return;
    }
    if (message.data1 == kWheelHome)
        StepVfo(radio_.vfo_a_str, QStringLiteral("FA"), entry);
    else if (message.data1 == kWheelMode1)
        StepVfo(radio_.vfo_b_str, QStringLiteral("FB"), entry);
    else if (message.data1 == kSliderMode2 || message.data1 == kSliderMode3)
        SendCatByCode(entry, message.data2);
}

void Translator::StepVfo(QString& vfo, const QString& command, const QString& entry)
{
    // The copy moves before the radio answers, so quick steps build on each other.
    const QString direction = entry.mid(1, 2);
    if (direction != QLatin1String("UP") && direction != QLatin1String("DN"))
        return;
    const double hertz = Stepped(vfo, direction, entry.mid(3));
    if (hertz < 0 || hertz > kHighestHz) {
        log_.AppendLine(QStringLiteral("Step refused: VFO %1 would be at %2 Hz, outside 0 to %3 Hz.")
                            .arg(command == QLatin1String("FA") ? QLatin1Char('A') : QLatin1Char('B'))
                            .arg(hertz, 0, 'f', 0)
                            .arg(kHighestHz, 0, 'f', 0));
        return;
    }
    vfo = VbNumber::FormatZeroPadded(hertz, kFrequencyDigits);
    cat_.SendStep(command + vfo + QLatin1Char(';'));
}

double Translator::Stepped(const QString& frequency, const QString& direction,
                           const QString& step)
{
    const double hertz = std::floor(VbNumber::ParseDecimal(frequency));
    const double delta = std::floor(VbNumber::ParseDecimal(step));
    return direction == QLatin1String("UP") ? hertz + delta : hertz - delta;
}

void Translator::SendCatByCode(const QString& command, std::uint8_t value)
{
    if (!radio_.valid_cat_a)
        return;
    if (command == QLatin1String("#A>B")) {
        if (radio_.valid_cat_b)
            cat_.SendCAT(FrequencyCommand("FB", radio_.last_cat_if));
    } else if (command == QLatin1String("#A/B")) {
        if (radio_.valid_cat_b) {
            // Both are built from the replies as they stand before either is sent.
            const QString toA = FrequencyCommand("FA", radio_.last_cat_fb);
            const QString toB = FrequencyCommand("FB", radio_.last_cat_if);
            cat_.SendCAT(toA);
            cat_.SendCAT(toB);
        }
    } else if (command == QLatin1String("#MUP")) {
        StepMode();
    } else if (command == QLatin1String("#TXPWR")) {
        SendScaled(QStringLiteral("PC"), value, 0);
    } else if (command == QLatin1String("#CWSPD")) {
        SendScaled(QStringLiteral("KS"), value, 5);
    }
    // "#RIT" and every other text are accepted and do nothing.
}

QString Translator::FrequencyCommand(const char* command, const QString& reply)
{
    // A short or garbled FB reply still marks VFO B valid; its remains must not
    // reach the radio as a frequency command.
    const QString frequency = reply.mid(2, kFrequencyDigits);
    const bool wellFormed = frequency.size() == kFrequencyDigits &&
                            std::all_of(frequency.begin(), frequency.end(), [](QChar c) {
                                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                            });
    if (!wellFormed)
        throw VbError::TypeMismatch(QStringLiteral("no frequency in reply \"%1\"").arg(reply));
    return QLatin1String(command) + frequency + QLatin1Char(';');
}

void Translator::StepMode()
{
    qint16 mode = VbNumber::ToInt16(std::floor(VbNumber::ParseDecimal(radio_.Mode)) + 1.0);
    // The radio's mode numbers skip 7 and 8 (the step runs 1 to 6, then 9).
    if (mode == 7)
        mode = 9;
    else if (mode == 10)
        mode = 1;
    radio_.Mode = QString::number(mode);
    cat_.SendCAT(QStringLiteral("MD") + radio_.Mode + QLatin1Char(';'));
}

void Translator::SendScaled(const QString& command, std::uint8_t value, int minimum)
{
    const qint16 scaled = VbNumber::ToInt16(value * 0.787);
    cat_.SendCAT(command + VbNumber::BlankLed(std::max<int>(scaled, minimum)) + QLatin1Char(';'));
}
