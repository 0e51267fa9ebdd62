#include "translation/Translator.h"

#include "app/RuntimeError.h"
#include "app/VbError.h"
#include "translation/VbNumber.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kRoutine = QStringLiteral("ProcessMIDI");
constexpr int kFrequencyDigits = 11;

} // namespace

QString Translator::MissingKeyMessage()
{
    return QStringLiteral(
        "Object not found runtime error. Please verify your Vorn-MIDI knob map is set correctly "
        "(home 100=Wheel A, mode 1 102=Wheel A, mode 2 104=slider B, mode 3 106=slider B.");
}

Translator::Translator(const KeyMap& keyMap, RadioState& radio, const MidiMessage& message,
                       const Options& options, ICatSender& cat, IAlerts& alerts)
    : keyMap_(keyMap), radio_(radio), message_(message), options_(options), cat_(cat),
      alerts_(alerts)
{
}

void Translator::ProcessMIDI(const QString& midiid, const QString& midicmd)
{
    RunGuarded(alerts_, kRoutine, [&] {
        try {
            Translate(midiid, midicmd);
        } catch (const VbError& e) {
            if (e.number() != VbError::kObjectNotFound)
                throw;
            alerts_.MsgBox(MissingKeyMessage(), IAlerts::Buttons::Ok, IAlerts::Icon::Information);
        }
    });
}

void Translator::Translate(const QString& midiid, const QString& midicmd)
{
    // Nothing is done with MIDI input until the radio has answered the poll.
    if (!radio_.valid_cat_a)
        return;
    TranslateWheelOrSlider(midiid, midicmd);
    TranslateButton(midiid, midicmd);
}

void Translator::TranslateWheelOrSlider(const QString& midiid, const QString& midicmd)
{
    // VFO B is tuned only once the poll has brought its frequency.
    const bool wheel =
        midiid == QLatin1String("64") || (midiid == QLatin1String("66") && radio_.valid_cat_b);
    QString key;
    if (wheel)
        key = RigPrefix() + midiid + midicmd;
    else if (midiid == QLatin1String("68"))
        key = RigPrefix() + QStringLiteral("km2sldb");
    else if (midiid == QLatin1String("6A"))
        key = RigPrefix() + QStringLiteral("km3sldb");
    else
        return;
    ProcessWheel(keyMap_.Read(key), midiid);
}

void Translator::TranslateButton(const QString& midiid, const QString& midicmd)
{
    QString prefix;
    if (options_.rigtype == QLatin1String("elecraft"))
        prefix = QStringLiteral("e");
    else if (options_.rigtype == QLatin1String("flex"))
        prefix = QStringLiteral("f");
    else
        return;
    if (midicmd != QLatin1String("7F") || !IsButton(midiid))
        return;
    // Every button key of both rig types exists, so this read cannot fail.
    const QString entry = keyMap_.Read(prefix + midiid + midicmd);
    if (entry.startsWith(QLatin1Char('#')))
        SendCatByCode(midiid, midicmd, entry);
    else
        cat_.SendCAT(entry);
}

QString Translator::RigPrefix() const
{
    return options_.rigtype.left(1);
}

bool Translator::IsButton(const QString& midiid)
{
    static const QStringList buttons = {"01", "02", "03", "04", "05", "06",
                                        "0B", "0C", "0D", "0E", "0F", "10"};
    return buttons.contains(midiid);
}

void Translator::ProcessWheel(const QString& variable, const QString& midiid)
{
    if (!variable.startsWith(QLatin1Char('#'))) {
        cat_.SendCAT(variable);
        return;
    }
    if (midiid == QLatin1String("64"))
        StepVfo(radio_.vfo_a_str, QStringLiteral("FA"), variable);
    else if (midiid == QLatin1String("66"))
        StepVfo(radio_.vfo_b_str, QStringLiteral("FB"), variable);
    else if (midiid == QLatin1String("68") || midiid == QLatin1String("6A"))
        SendCatByCode(midiid, message_.midicmd, variable);
}

void Translator::StepVfo(QString& vfo, const QString& command, const QString& variable)
{
    // The copy moves before the radio answers, so quick steps build on each other.
    const QString direction = variable.mid(1, 2);
    if (direction != QLatin1String("UP") && direction != QLatin1String("DN"))
        return;
    vfo = Stepped(vfo, direction, variable.mid(3));
    cat_.SendCAT(command + vfo + QLatin1Char(';'));
}

QString Translator::Stepped(const QString& frequency, const QString& direction,
                            const QString& step)
{
    const double hertz = std::floor(VbNumber::ParseDecimal(frequency));
    const double delta = std::floor(VbNumber::ParseDecimal(step));
    const double result = direction == QLatin1String("UP") ? hertz + delta : hertz - delta;
    return VbNumber::FormatZeroPadded(result, kFrequencyDigits);
}

void Translator::SendCatByCode(const QString& midiid, const QString& midicmd,
                               const QString& command)
{
    Q_UNUSED(midiid);
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
        SendScaled(QStringLiteral("PC"), midicmd, 0);
    } else if (command == QLatin1String("#CWSPD")) {
        SendScaled(QStringLiteral("KS"), midicmd, 5);
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

void Translator::SendScaled(const QString& command, const QString& midicmd, int minimum)
{
    const qint16 scaled = VbNumber::ToInt16(VbNumber::ParseHex(midicmd) * 0.787);
    const int value = std::max<int>(scaled, minimum);
    cat_.SendCAT(command + VbNumber::BlankLed(value) + QLatin1Char(';'));
}
