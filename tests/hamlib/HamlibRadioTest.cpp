// The Hamlib key map's entries carried out on Hamlib's dummy rig, in-process:
// the surface's messages through the dispatcher to the radio, and what the
// radio then says in the CAT log.
#include "LinkEvents.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "dispatch/SurfaceDispatcher.h"
#include "hamlib/HamlibRadio.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <QRegularExpression>

namespace {
using Id = SurfaceControls::Id;

class HamlibRadioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options.SetText(Options::Key::RigType, "hamlib");
        keyMap.Load(store);
        rig.link.SetPollInterval(50);
        rig.link.Open({1, {}, 0});
        ASSERT_TRUE(WaitFor([&] { return state.answering && !radio.Modes().isEmpty(); }));
    }

    void Press(Id control, std::uint8_t value = SurfaceControls::kPressed)
    {
        dispatcher.Dispatch({0xB0, SurfaceControls::Byte(control), value});
    }
    bool CatLogGets(const QString& line) { return WaitFor([&] { return catLog.lines.contains(line); }); }

    MemorySettingsStore store;
    KeyMap keyMap;
    Options options;
    RecordingLog catLog, midiLog;
    RecordingAlerts alerts;
    LinkEvents rig;
    HamlibRadio radio{rig.link, catLog};
    SurfaceDispatcher dispatcher{keyMap, options, radio, alerts, midiLog};
    const RadioState& state = radio.State();
};

// The defaults: the Flex map's program commands, and its buttons' jobs in rigctl's words.
TEST_F(HamlibRadioTest, TheDefaultMapDrivesTheRadio)
{
    const qint64 start = state.vfoA;
    const struct { Id control; std::uint8_t value; QString line; } cases[] = {
        {Id::WheelHome, 0x41, QStringLiteral("F VFOA %1 -> RPRT 0").arg(start + 10)},
        {Id::WheelHome, 0x3C, QStringLiteral("F VFOA %1 -> RPRT 0").arg(start + 10 - 100)},
        {Id::Button1, SurfaceControls::kPressed, "S 1 VFOB -> RPRT 0"},
        {Id::Button2, SurfaceControls::kPressed, "U RIT 1 -> RPRT 0"},
        {Id::Button3, SurfaceControls::kPressed, "J 0 -> RPRT 0"},
        {Id::Button4, SurfaceControls::kPressed, "G XCHG -> RPRT 0"},
        {Id::Button5, SurfaceControls::kPressed, "U NB 1 -> RPRT 0"},
        {Id::Button6, SurfaceControls::kPressed, "M WFM 0 -> RPRT 0"},  // the dummy starts in FM
        {Id::Button4Long, SurfaceControls::kPressed, "G CPY -> RPRT 0"},
        {Id::SliderMode2, 64, "L RFPOWER 0.5 -> RPRT 0"},
        {Id::SliderMode3, 38, "L KEYSPD 30 -> RPRT 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Press(c.control, c.value);
        EXPECT_TRUE(CatLogGets(c.line)) << catLog.lines.join('\n').toStdString();
    }
    // The state is what the radio reads back (Hamlib's dummy swaps and copies
    // in its own way, which changed between versions).
    EXPECT_TRUE(WaitFor([&] {
        const QStringList polls = catLog.lines.filter(QRegularExpression(QStringLiteral("^poll: ")));
        return !polls.isEmpty() && polls.last().contains(QStringLiteral("f VFOB %1,").arg(state.vfoB)) &&
               state.mode == "WFM";
    }));
    EXPECT_TRUE(midiLog.lines.isEmpty()) << midiLog.lines.join('\n').toStdString();
}

// An entry that does not parse, ones the radio refuses (a function or a mode
// it does not have) and one with several commands: one line each, naming the control or the command, and the radio
// goes on.
TEST_F(HamlibRadioTest, EntriesThatFailAreOneLineEach)
{
    const struct { Id control; const char* entry; QString line; bool inMidiLog; } cases[] = {
        {Id::Button1, "X 1", "Map entry Button 1 \"X 1\" not carried out: X, Function not available.", true},
        {Id::Button2, "T 1 F ten", "Map entry Button 2 \"T 1 F ten\" not carried out: F, Invalid parameter.", true},
        {Id::Button3, "w FA;", "Not carried out: w FA;: Feature not available", false},
        {Id::Button5, "U SHOUT 1", "Map entry Button 5 \"U SHOUT 1\" not carried out: U, Function not available.", true},
        {Id::Button6, "M SHOUT 0", "Map entry Button 6 \"M SHOUT 0\" not carried out: M, Invalid parameter.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        keyMap.Write(KeyMap::Name(RigType::Hamlib, KeyMap::ButtonSuffix(int(c.control) - int(Id::Button1) + 1, false)),
                     c.entry);
        Press(c.control);
        RecordingLog& log = c.inMidiLog ? midiLog : catLog;
        EXPECT_TRUE(WaitFor([&] { return log.lines.contains(c.line); })) << log.lines.join('\n').toStdString();
    }
    EXPECT_TRUE(CatLogGets("T 1 -> RPRT 0"));
    Press(Id::WheelHome, 0x41);
    EXPECT_TRUE(CatLogGets(QStringLiteral("F VFOA %1 -> RPRT 0").arg(state.vfoA)));
    EXPECT_EQ(midiLog.lines.size(), 4);
    EXPECT_TRUE(alerts.boxes.isEmpty());
}
} // namespace

// Every change of the radio's state is told once; polls that find the radio
// as it was tell nothing.
TEST_F(HamlibRadioTest, EachChangeIsToldOnceAndAnUnchangedPollNotAtAll)
{
    QList<RadioState::Fields> told;
    QObject::connect(&radio, &IRadio::stateChanged,
                     [&](RadioState::Fields fields, const RadioState&, const RadioState&) { told << fields; });
    const auto morePolls = [&] {
        const qsizetype seen = rig.readings.size();
        return WaitFor([&] { return rig.readings.size() >= seen + 3; });
    };
    ASSERT_TRUE(morePolls());
    EXPECT_TRUE(told.isEmpty());
    radio.SetFrequency(Vfo::A, 7074000);
    ASSERT_TRUE(CatLogGets("F VFOA 7074000 -> RPRT 0"));
    ASSERT_TRUE(morePolls());
    EXPECT_EQ(told, QList<RadioState::Fields>{RadioState::Field::VfoA});
}
