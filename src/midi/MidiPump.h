#pragma once

#include "app/IAlerts.h"
#include "app/ILogSink.h"
#include "midi/MidiFunctions.h"
#include "translation/MidiMessage.h"

#include <QString>
#include <functional>

// Drains the event ring on the UI thread: logs every event, hands short
// messages on (main window pump only) and gives returned records back to the
// device. The owning window calls Tick() from its timer.
class MidiPump {
public:
    // What differs between the main window's pump and the setup window's monitor.
    struct DrainMode {
        QString routine;  // name in "VB6 runtime error (<routine>): ..."
        bool reportRequeueFailure = false;
        MidiMessage* message = nullptr;     // set before processMidi; null: log only
        std::function<void()> processMidi;

        static DrainMode MainWindowPump(MidiMessage& message, std::function<void()> processMidi);
        static DrainMode SetupMonitor();
    };

    // A flooding source must not keep the UI thread in one tick for ever.
    static constexpr int kMaxEntriesPerTick = 1000;

    MidiPump(MidiFunctions& midi, ILogSink& log, IAlerts& alerts, DrainMode mode);

    void Tick();

private:
    enum class Drained { Empty, Interrupted };
    Drained DrainRing(MidiInRing& ring);
    void HandleEntry(const MidiQueueEntry& entry);
    void HandleShortMessage(std::uintptr_t packed, std::uintptr_t timestamp);
    void HandleReturnedBuffer(std::uintptr_t headerAddress, std::uintptr_t timestamp);
    void LogSysex(const MidiInBuffer& buffer, std::uintptr_t timestamp);
    void UnprepareRecord(MidiInBuffer& buffer);
    void RequeueRecord(MidiInBuffer& buffer);
    void ReportDroppedEntries(MidiInRing& ring);

    MidiFunctions& midi_;
    ILogSink& log_;
    IAlerts& alerts_;
    DrainMode mode_;
};
