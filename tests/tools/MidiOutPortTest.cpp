#include "vsurface/MidiOutPort.h"

#include <gtest/gtest.h>

TEST(MidiOutPort, ChoosesAlsaWhenTheSequencerExistsUnlessForced)
{
    const struct {
        const char* forced;
        bool sequencer;
        RtMidi::Api api;
    } rows[] = {
        {"", true, RtMidi::LINUX_ALSA},       {"", false, RtMidi::UNIX_JACK},
        {"jack", true, RtMidi::UNIX_JACK},    {"alsa", false, RtMidi::LINUX_ALSA},
        {"JACK", true, RtMidi::UNIX_JACK},    {" alsa ", true, RtMidi::LINUX_ALSA},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MidiOutPort::ChooseApi(row.forced, row.sequencer), row.api)
            << "'" << row.forced << "' " << row.sequencer;
}

TEST(MidiOutPort, UnknownForcedApiIsRefusedWithItsName)
{
    for (const char* forced : {"pipewire", "winmm", "1"}) {
        try {
            MidiOutPort::ChooseApi(forced, true);
            ADD_FAILURE() << forced << " was accepted";
        } catch (const MidiOutPort::Error& e) {
            EXPECT_NE(std::string(e.what()).find(forced), std::string::npos) << e.what();
        }
    }
}
