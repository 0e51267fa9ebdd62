// ProcessMIDI with any data bytes, any map entries, any rig type and any
// radio state the poll may have left. A message may fail, but only with the
// missing-key message or a ProcessMIDI report of a number that cannot be read
// (13) or held (6); a VFO copy, once stepped, is always a frequency text that
// went to the radio.
#include "FuzzCheck.h"
#include "app/KeyMap.h"
#include "app/Options.h"
#include "cat/RadioState.h"
#include "support/RecordingAlerts.h"
#include "translation/MidiMessage.h"
#include "translation/RecordingCatSender.h"
#include "translation/Translator.h"

#include <QRegularExpression>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString AnyText(FuzzedDataProvider& input, std::size_t maxLength = 40)
{
    return QString::fromUtf8(QByteArray::fromStdString(input.ConsumeRandomLengthString(maxLength)));
}

QString Hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// Mostly the forms the program meets, now and then anything at all.
QString Frequency(FuzzedDataProvider& input)
{
    if (input.ConsumeBool())
        return QStringLiteral("%1").arg(input.ConsumeIntegralInRange<qint64>(0, 99999999999LL), 11, 10,
                                        QLatin1Char('0'));
    return AnyText(input);
}

QString Entry(FuzzedDataProvider& input)
{
    static const char* const codes[] = {"#A>B", "#A/B", "#MUP", "#TXPWR", "#CWSPD", "#RIT", "#UP", "#DN"};
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return QString::fromLatin1(codes[input.ConsumeIntegralInRange<int>(0, 7)]);
    case 1:
        return QLatin1String(input.ConsumeBool() ? "#UP" : "#DN") +
               QString::number(input.ConsumeIntegral<qint64>());
    default: return AnyText(input);
    }
}

void FillDefaults(KeyMap& keyMap)
{
    const QList<KeyMap::KeyDef>& defs = KeyMap::Suffixes();
    for (const KeyMap::KeyDef& def : defs) {
        keyMap.Write(QLatin1Char('e') + def.suffix, def.elecraftDefault);
        keyMap.Write(QLatin1Char('f') + def.suffix, def.flexDefault);
    }
}

void SetUpRadio(FuzzedDataProvider& input, RadioState& radio)
{
    radio.valid_cat_a = input.ConsumeBool();
    radio.valid_cat_b = input.ConsumeBool();
    radio.vfo_a_str = Frequency(input);
    radio.vfo_b_str = Frequency(input);
    radio.last_cat_if = QStringLiteral("IF") + Frequency(input) + AnyText(input);
    radio.last_cat_fb = QStringLiteral("FB") + Frequency(input) + AnyText(input);
    radio.Mode = input.ConsumeBool() ? QString::number(input.ConsumeIntegralInRange<int>(0, 12))
                                     : AnyText(input, 8);
}

void CheckReports(const RecordingAlerts& alerts)
{
    static const QRegularExpression report(
        QStringLiteral("^VB6 runtime error \\(ProcessMIDI\\): (13|6) - "));
    for (const QString& text : alerts.texts())
        Require(text == Translator::MissingKeyMessage() || report.match(text).hasMatch(),
                "ProcessMIDI report", text);
}

void CheckStep(const QString& before, const QString& after, const char* command,
               const RecordingCatSender& cat)
{
    static const QRegularExpression frequency(QStringLiteral("^-?[0-9]{11,16}$"));
    if (before == after)
        return;
    Require(frequency.match(after).hasMatch(), "stepped VFO is a frequency text", after);
    Require(!cat.commands.isEmpty() &&
                cat.commands.last() == QLatin1String(command) + after + QLatin1Char(';'),
            "stepped VFO was sent", after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static KeyMap defaults = [] {
        KeyMap keyMap;
        FillDefaults(keyMap);
        return keyMap;
    }();
    FuzzedDataProvider input(data, size);
    KeyMap keyMap = defaults;
    for (int n = input.ConsumeIntegralInRange<int>(0, 8); n > 0; --n)
        keyMap.Write(KeyMap::Names()[input.ConsumeIntegralInRange<int>(0, KeyMap::kEntryCount - 1)],
                     Entry(input));

    Options options;
    static const char* const rigs[] = {"flex", "elecraft", "Flex", "e", ""};
    options.rigtype = input.ConsumeBool() ? QString::fromLatin1(rigs[input.ConsumeIntegralInRange<int>(0, 4)])
                                          : AnyText(input, 10);
    RadioState radio;
    SetUpRadio(input, radio);
    MidiMessage message;
    RecordingCatSender cat;
    RecordingAlerts alerts;
    Translator translator(keyMap, radio, message, options, cat, alerts);

    while (input.remaining_bytes() > 0) {
        if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
            message.midiid = AnyText(input, 4);
            message.midicmd = AnyText(input, 4);
        } else {
            message.midiid = Hex2(input.ConsumeIntegralInRange<int>(0, 255));
            message.midicmd = Hex2(input.ConsumeIntegralInRange<int>(0, 255));
        }
        const RadioState before = radio;
        const qsizetype sent = cat.commands.size();
        const qsizetype reported = alerts.boxes.size();
        translator.ProcessMIDI(message.midiid, message.midicmd);

        if (!before.valid_cat_a)
            Require(cat.commands.size() == sent && alerts.boxes.size() == reported,
                    "nothing happens before the radio has answered");
        CheckReports(alerts);
        CheckStep(before.vfo_a_str, radio.vfo_a_str, "FA", cat);
        CheckStep(before.vfo_b_str, radio.vfo_b_str, "FB", cat);
        if (input.ConsumeIntegralInRange<int>(0, 7) == 0)
            SetUpRadio(input, radio);
    }
    return 0;
}
