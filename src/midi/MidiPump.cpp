#include "midi/MidiPump.h"

#include "app/RuntimeError.h"

#include <algorithm>

namespace {

QString Hex(std::uintptr_t value, int digits)
{
    return QStringLiteral("%1").arg(static_cast<quint32>(value), digits, 16, QLatin1Char('0')).toUpper();
}

QString Hex2(std::uintptr_t value)
{
    return Hex(value & 0xFF, 2);
}

constexpr int kBacklogLimit = 28;
constexpr int kSysexLineWidth = 27;

}  // namespace

MidiPump::DrainMode MidiPump::DrainMode::MainWindowPump(MidiMessage& message,
                                                        std::function<void()> processMidi)
{
    return DrainMode{QStringLiteral("tmrMidi_tick"), false, &message, std::move(processMidi)};
}

MidiPump::DrainMode MidiPump::DrainMode::SetupMonitor()
{
    return DrainMode{QStringLiteral("frmConfig_Midi_Timer1_tick"), true, nullptr, {}};
}

MidiPump::MidiPump(MidiFunctions& midi, ILogSink& log, IAlerts& alerts, DrainMode mode)
    : midi_(midi), log_(log), alerts_(alerts), mode_(std::move(mode))
{
}

void MidiPump::Tick()
{
    ReentryGuard::Scope scope(midi_.DrainGuard());
    if (!scope.entered())
        return;
    MidiInRing& ring = midi_.MidiInQueue();
    if (DrainRing(ring) == Drained::Empty)
        ReportDroppedEntries(ring);
}

MidiPump::Drained MidiPump::DrainRing(MidiInRing& ring)
{
    for (int handled = 0; handled < kMaxEntriesPerTick; ++handled) {
        const int pending = ring.Pending();
        if (pending == 0)
            return Drained::Empty;
        if (pending > kBacklogLimit) {
            log_.AppendLine(QStringLiteral("Processing the events is taking too long!"));
            log_.AppendLine(QStringLiteral("Possible data loss!"));
        }
        const MidiQueueEntry entry = ring.Front();
        const bool handledWell = RunGuarded(alerts_, mode_.routine, [&] { HandleEntry(entry); });
        // A failed entry has been reported; taking it again would only fail
        // again and hold up everything behind it.
        ring.PopFront();
        if (!handledWell)
            return Drained::Interrupted;
    }
    return Drained::Interrupted;
}

void MidiPump::HandleEntry(const MidiQueueEntry& entry)
{
    if (entry.Kind == IMidiInApi::MIM_DATA)
        HandleShortMessage(entry.Param1, entry.Param2);
    else if (entry.Kind == IMidiInApi::MIM_LONGDATA)
        HandleReturnedBuffer(entry.Param1, entry.Param2);
}

void MidiPump::HandleShortMessage(std::uintptr_t packed, std::uintptr_t timestamp)
{
    const std::uintptr_t data1 = packed >> 8;
    const std::uintptr_t data2 = packed >> 16;
    log_.AppendLine(Hex2(packed) + QLatin1Char(' ') + Hex2(data1) + QLatin1Char(' ') + Hex2(data2)
                    + QStringLiteral(" Timestamp: ") + Hex(timestamp, 8));
    if (!mode_.message)
        return;
    mode_.message->midiid = Hex2(data1);
    mode_.message->midicmd = Hex2(data2);
    if (mode_.processMidi)
        mode_.processMidi();
}

void MidiPump::HandleReturnedBuffer(std::uintptr_t headerAddress, std::uintptr_t timestamp)
{
    MidiInBuffer* buffer = midi_.FindBuffer(headerAddress);
    if (!buffer)
        return;
    UnprepareRecord(*buffer);
    if (buffer->hdr.dwBytesRecorded != 0)
        LogSysex(*buffer, timestamp);
    RequeueRecord(*buffer);
}

void MidiPump::LogSysex(const MidiInBuffer& buffer, std::uintptr_t timestamp)
{
    const std::uint32_t count = std::min(buffer.hdr.dwBytesRecorded, MidiInBuffer::kDataSize);
    log_.AppendLine(QStringLiteral("SysExclMsg recieved."));
    log_.AppendLine(QStringLiteral("Timestamp: ") + Hex(timestamp, 8));
    log_.AppendLine(QString::number(count) + QStringLiteral(" Bytes:"));
    QString line;
    for (std::uint32_t i = 0; i < count; ++i) {
        line += Hex2(static_cast<unsigned char>(buffer.Data[i])) + QLatin1Char(' ');
        if (line.size() > kSysexLineWidth) {
            log_.AppendLine(line);
            line.clear();
        }
    }
    log_.AppendLine(line);
}

void MidiPump::UnprepareRecord(MidiInBuffer& buffer)
{
    if (midi_.UnprepareBuffer(buffer) != IMidiInApi::MMSYSERR_NOERROR)
        MidiFunctions::ShowDeviceError(alerts_, QStringLiteral("Error when unregistering the MidiIn buffer"));
}

void MidiPump::RequeueRecord(MidiInBuffer& buffer)
{
    if (midi_.QueueBuffer(buffer) != IMidiInApi::MMSYSERR_NOERROR && mode_.reportRequeueFailure)
        MidiFunctions::ShowDeviceError(alerts_, QStringLiteral("Error creating the MidiIn buffer"));
}

void MidiPump::ReportDroppedEntries(MidiInRing& ring)
{
    const int dropped = ring.TakeDropped();
    if (dropped == 0)
        return;
    log_.AppendLine(QStringLiteral("%1 MIDI events were dropped while the queue was full.").arg(dropped));
    for (MidiInBuffer* buffer : midi_.TakeLostBuffers()) {
        UnprepareRecord(*buffer);
        RequeueRecord(*buffer);
    }
}
