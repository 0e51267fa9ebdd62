// The MIDI event pump fed whatever may stand in the event ring: short
// messages, returned receive records with any byte count, entries of unknown
// kinds and record addresses that are not the program's. Both drains (the
// main window's pump and the setup window's monitor) run on the same ring,
// with device calls that fail now and then. Every log line keeps its form and
// only two-digit hex texts reach the translation.
#include "FuzzCheck.h"
#include "midi/FakeMidiInApi.h"
#include "midi/MidiFunctions.h"
#include "midi/MidiPump.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <QRegularExpression>
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace {

const QRegularExpression kHex2(QStringLiteral("^[0-9A-F]{2}$"));

bool IsPumpLine(const QString& line)
{
    static const QRegularExpression forms(QStringLiteral(
        "^(?:[0-9A-F]{2} [0-9A-F]{2} [0-9A-F]{2} Timestamp: [0-9A-F]{8}"
        "|SysExclMsg recieved\\.|Timestamp: [0-9A-F]{8}|(?:[0-9]|[1-9][0-9]|100) Bytes:"
        "|(?:[0-9A-F]{2} ){0,10}|Processing the events is taking too long!|Possible data loss!"
        "|[1-9][0-9]* MIDI events were dropped while the queue was full\\.)$"));
    return forms.match(line).hasMatch();
}

void CheckLog(RecordingLog& log)
{
    for (const QString& line : log.lines)
        Require(IsPumpLine(line), "pump log line", line);
    log.lines.clear();
}

struct Rig {
    FakeMidiInApi api;
    RecordingAlerts alerts;
    MidiFunctions midi{api, alerts};
    MidiMessage message;
    RecordingLog log;
    RecordingLog monitorLog;
    MidiPump pump{midi, log, alerts, MidiPump::DrainMode::MainWindowPump(message, [this] {
                      Require(kHex2.match(message.midiid).hasMatch() &&
                                  kHex2.match(message.midicmd).hasMatch(),
                              "two hex digits for the translation",
                              message.midiid + QLatin1Char(' ') + message.midicmd);
                  })};
    MidiPump monitor{midi, monitorLog, alerts, MidiPump::DrainMode::SetupMonitor()};
    std::vector<MidiHdr*> records;

    Rig()
    {
        api.deviceNames = {QStringLiteral("Vorn-MIDI")};
        midi.OpenMidiIn(0);
        records.assign(api.queued.begin(), api.queued.end());
    }

    void Callback(std::uint32_t kind, std::uintptr_t param1, std::uintptr_t param2)
    {
        MidiFunctions::MidiInProc(api.openHandle, kind, api.instance, param1, param2);
    }
};

std::uint32_t AnyKind(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return IMidiInApi::MIM_DATA;
    case 1: return IMidiInApi::MIM_LONGDATA;
    case 2: return 0x3C1 + input.ConsumeIntegralInRange<std::uint32_t>(0, 6);  // open, close, error ...
    default: return input.ConsumeIntegral<std::uint32_t>();
    }
}

void FailNextCall(FuzzedDataProvider& input, FakeMidiInApi& api)
{
    static const char* const calls[] = {"PrepareHeader", "UnprepareHeader", "AddBuffer", "Open",
                                        "Close"};
    const QString call = QString::fromLatin1(calls[input.ConsumeIntegralInRange<int>(0, 4)]);
    api.failures[call] = IMidiInApi::MMSYSERR_ERROR + input.ConsumeIntegralInRange<int>(0, 70);
    api.failuresLeft[call] = input.ConsumeIntegralInRange<int>(1, 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Rig rig;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange<int>(0, 9)) {
        case 0:
            rig.Callback(IMidiInApi::MIM_DATA, input.ConsumeIntegral<std::uint32_t>(),
                         input.ConsumeIntegral<std::uint32_t>());
            break;
        case 1:
            rig.Callback(AnyKind(input), input.ConsumeIntegral<std::uintptr_t>(),
                         input.ConsumeIntegral<std::uintptr_t>());
            break;
        case 2:
            // The device fills the oldest queued record and returns it.
            if (rig.midi.hMidiIn() != 0 && !rig.api.queued.empty())
                rig.api.ReturnBuffer(QByteArray::fromStdString(input.ConsumeRandomLengthString(
                                         MidiInBuffer::kDataSize)),
                                     input.ConsumeIntegral<std::uint32_t>());
            break;
        case 3: {
            // A record of ours comes back with any byte count, queued or not.
            MidiHdr* record = rig.records[input.ConsumeIntegralInRange<std::size_t>(
                0, rig.records.size() - 1)];
            record->dwBytesRecorded = input.ConsumeIntegral<std::uint32_t>();
            rig.Callback(IMidiInApi::MIM_LONGDATA, reinterpret_cast<std::uintptr_t>(record),
                         input.ConsumeIntegral<std::uint32_t>());
            break;
        }
        case 4: {
            // An address inside or just beside our records.
            const auto base = reinterpret_cast<std::uintptr_t>(rig.records.front());
            rig.Callback(IMidiInApi::MIM_LONGDATA,
                         base + input.ConsumeIntegralInRange<std::uintptr_t>(0, 8192) - 64,
                         input.ConsumeIntegral<std::uint32_t>());
            break;
        }
        case 5:
            rig.pump.Tick();
            break;
        case 6:
            rig.monitor.Tick();
            break;
        case 7:
            FailNextCall(input, rig.api);
            break;
        case 8:
            rig.midi.CloseMidiIn();
            break;
        default:
            rig.midi.OpenMidiIn(input.ConsumeIntegralInRange<int>(-1, 1));
            break;
        }
        CheckLog(rig.log);
        CheckLog(rig.monitorLog);
    }
    return 0;
}
