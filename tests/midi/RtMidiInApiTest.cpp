#include "midi/MidiFunctions.h"
#include "midi/RtMidiInApi.h"
#include "support/RecordingAlerts.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { qputenv(name_, old_); }

private:
    const char* name_;
    QByteArray old_;
};

bool HasAlsaSequencer()
{
    return QFileInfo::exists(QStringLiteral("/dev/snd/seq"));
}

}  // namespace

TEST(RtMidiInApi, BackendFollowsTheEnvironmentThenTheSequencerDevice)
{
    const RtMidi::Api automatic = HasAlsaSequencer() ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
    const struct {
        const char* value;
        RtMidi::Api expected;
    } cases[] = {
        {"jack", RtMidi::UNIX_JACK}, {"JACK", RtMidi::UNIX_JACK}, {"alsa", RtMidi::LINUX_ALSA},
        {"", automatic},             {"coreaudio", automatic},
    };
    for (const auto& c : cases) {
        ScopedEnv env("VMC_MIDI_API", c.value);
        EXPECT_EQ(RtMidiInApi::ChooseBackend(), c.expected) << c.value;
    }
}

// No MIDI system at all: no devices, and opening fails with a clear message.
TEST(RtMidiInApi, MissingMidiSystemMeansNoDevicesAndACleanFailure)
{
    if (HasAlsaSequencer())
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    ScopedEnv env("VMC_MIDI_API", "alsa");
    RtMidiInApi api;
    RecordingAlerts alerts;
    MidiFunctions midi(api, alerts);
    MidiFunctions::DeviceList list;
    midi.ListMidiInDevices(list);
    EXPECT_TRUE(list.isEmpty());
    midi.OpenMidiIn(0);
    EXPECT_EQ(alerts.texts(), QStringList{"The specified device identifier is out of range."});
    EXPECT_EQ(midi.hMidiIn(), 0u);
    MidiHdr header;
    EXPECT_EQ(api.PrepareHeader(0, &header), IMidiInApi::MMSYSERR_INVALHANDLE);
    EXPECT_EQ(api.Close(0), IMidiInApi::MMSYSERR_INVALHANDLE);
}
