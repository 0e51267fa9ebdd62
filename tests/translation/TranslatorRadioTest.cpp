// MIDI messages translated onto the real CAT link, with the radio simulator on a pseudo-terminal.
#include "core/KeyMap.h"
#include "core/Options.h"
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "cat/QtSerialPort.h"
#include "core/RadioState.h"
#include "support/SimCatRig.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"
#include "translation/Translator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int kCom = 5;

struct TranslatedRig : SimCatRig {
    KeyMap keyMap;
    Options options;
    Translator translator{keyMap, state, options, link, alerts};

    void Connect(const QString& rigtype)
    {
        options.rigtype = rigtype;
        keyMap.Load(settings.store);
        ASSERT_NO_FATAL_FAILURE(
            SimCatRig::Connect({"--freq-a", "00014060000", "--freq-b", "00007030000"}, kCom));
        ASSERT_TRUE(PollUntil([&] { return state.valid_cat_a && state.valid_cat_b; }));
    }

    void Midi(const QString& midiid, const QString& midicmd)
    {
        translator.ProcessMIDI(MidiEvent::Short(0xB0, midiid.toUInt(nullptr, 16), midicmd.toUInt(nullptr, 16)));
    }
};

} // namespace

TEST(TranslatorRadio, FlexWheelStepSetsTheRadioToTheSteppedFrequency)
{
    TranslatedRig rig;
    ASSERT_NO_FATAL_FAILURE(rig.Connect("flex"));
    rig.Midi("64", "41");
    EXPECT_EQ(rig.state.vfo_a_str, "00014060010");
    ASSERT_TRUE(rig.Received("FA00014060010"));
    rig.state.vfo_a_str.clear();
    EXPECT_TRUE(rig.PollUntil([&] { return rig.state.vfo_a_str == "00014060010"; }));
    EXPECT_TRUE(rig.alerts.boxes.isEmpty());
}

TEST(TranslatorRadio, ElecraftWheelLetsTheRadioStepByItself)
{
    TranslatedRig rig;
    ASSERT_NO_FATAL_FAILURE(rig.Connect("elecraft"));
    rig.Midi("64", "41");
    EXPECT_EQ(rig.state.vfo_a_str, "00014060000");
    ASSERT_TRUE(rig.Received("UP1"));
    EXPECT_TRUE(rig.PollUntil([&] { return rig.state.vfo_a_str == "00014060010"; }));
    EXPECT_TRUE(rig.alerts.boxes.isEmpty());
}

TEST(TranslatorRadio, FlexButtonSwapsTheVfos)
{
    TranslatedRig rig;
    ASSERT_NO_FATAL_FAILURE(rig.Connect("flex"));
    rig.Midi("04", "7F");
    EXPECT_TRUE(rig.PollUntil([&] {
        return rig.state.vfo_a_str == "00007030000" && rig.state.vfo_b_str == "00014060000";
    }));
    EXPECT_TRUE(rig.alerts.boxes.isEmpty());
}
