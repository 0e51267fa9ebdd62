// Guards the ThreadSanitizer suppressions: a callback of the MIDI layer that
// shares a plain variable with the UI thread must still be reported. The
// suppressions for libjack and RtMidi once matched every stack that passed
// through those libraries, and the callback's stack does. Built only with
// ThreadSanitizer; the test passes when TSan reports the race in
// RacyCallback.
#include "midi/MidiFunctions.h"
#include "midi/RtMidiInApi.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"

#include <QThread>
#include <cstdio>

namespace {
// Deliberately unsynchronised: written on the MIDI thread, read on this one.
unsigned long g_calls = 0;

void RacyCallback(MidiInHandle, std::uint32_t message, std::uintptr_t, std::uintptr_t,
                  std::uintptr_t)
{
    if (message == IMidiInApi::MIM_DATA)
        ++g_calls;
}

// The device number the program's own listing gives the source.
int DeviceNumber(IMidiInApi& api, const QString& name)
{
    RecordingAlerts alerts;
    MidiFunctions::DeviceList list;
    MidiFunctions(api, alerts).ListMidiInDevices(list);
    for (const auto& entry : list) {
        if (entry.first == name)
            return entry.second;
    }
    return -1;
}
}  // namespace

int main()
{
    JackMidiSource source("tsan-race-probe");
    RtMidiInApi api;
    const int device = DeviceNumber(api, QStringLiteral("tsan-race-probe"));
    MidiInHandle handle = 0;
    if (device < 0 || api.Open(handle, device, &RacyCallback, 0) != IMidiInApi::MMSYSERR_NOERROR ||
        api.Start(handle) != IMidiInApi::MMSYSERR_NOERROR) {
        std::fprintf(stderr, "could not open the probe's MIDI source\n");
        return 1;
    }
    for (int i = 0; i < 200 && g_calls < 5; ++i) {
        source.SendControlChange(0x01, static_cast<unsigned char>(i & 0x7F));
        QThread::msleep(20);
    }
    std::printf("callback ran %lu times\n", g_calls);
    api.Close(handle);
    return 0;
}
