// Guards the ThreadSanitizer suppressions: a MIDI callback that shares a plain
// variable with the UI thread must still be reported. Suppressions for libjack
// and RtMidi once matched every stack that passed through those libraries, and
// the program's MIDI callback runs on such a stack. Built only with
// ThreadSanitizer; the test passes when TSan reports the race in RacyCallback.
#include "support/JackMidiSource.h"

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {
// Deliberately unsynchronised: written on the MIDI thread, read on this one.
unsigned long g_calls = 0;

void RacyCallback(double, std::vector<unsigned char>*, void*)
{
    ++g_calls;
}
}  // namespace

int main()
{
    JackMidiSource source("tsan-race-probe");
    RtMidiIn in(RtMidi::UNIX_JACK, "tsan-probe-reader");
    for (unsigned i = 0; i < in.getPortCount(); ++i) {
        if (in.getPortName(i).rfind("tsan-race-probe:", 0) == 0) {
            in.setCallback(&RacyCallback);
            in.openPort(i);
        }
    }
    if (!in.isPortOpen()) {
        std::fprintf(stderr, "could not open the probe's MIDI source\n");
        return 1;
    }
    for (int i = 0; i < 200 && g_calls < 5; ++i) {
        source.SendControlChange(0x01, static_cast<unsigned char>(i & 0x7F));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("callback ran %lu times\n", g_calls);
    return 0;
}
