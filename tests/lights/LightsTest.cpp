// The controller's lights: which message lights what, and the messages sent
// as the radio's state changes.
#include "core/KeyMap.h"
#include "core/Options.h"
#include "lights/LightTable.h"
#include "lights/Lights.h"
#include "midi/LearnedControls.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace {
using Id = RadioLight::Id;

struct Desk {
    explicit Desk(const char* rig = "flex")
    {
        options.SetText(Options::Key::RigType, rig);
        keyMap.Load(store);
    }
    // Each light's message as text, "-" for none.
    QString Messages()
    {
        QStringList texts;
        for (const auto& message : table.Resolve(keyMap, options.Rig(), learned.table()))
            texts << (message ? message->Text() : "-");
        return texts.join('|');
    }
    QString Sent()
    {
        QStringList texts;
        for (const MidiEvent& m : sent)
            texts << MidiEvent::Hex2(m.status) + MidiEvent::Hex2(m.data1) + MidiEvent::Hex2(m.data2);
        sent.clear();
        return texts.join(' ');
    }

    MemorySettingsStore store;
    Options options;
    KeyMap keyMap;
    LearnedControls learned{store};
    LightTable table{store};
    QList<MidiEvent> sent;
    Lights lights{table, keyMap, options, learned, [this](const MidiEvent& m) { sent << m; }};
};
} // namespace

// A state's light is by default under the button whose press switches it on
// in the key map of the rig type in use, sent as that button sends (the
// surface's control change, or the control learned in its place); the
// user's own message or no light replaces it. Order: cat, transmit, split,
// VFO B, RIT, XIT, noise blanker.
TEST(LightTable, EachStatesMessageByDefaultEditedOrNone)
{
    const struct { const char* name; const char* rig; QList<QPair<QString, QString>> settings; QString messages; } cases[] = {
        {"Flex map: split, RIT and noise blanker buttons", "flex", {},
         "-|-|cc 1 01 7F 00|-|cc 1 02 7F 00|-|cc 1 05 7F 00"},
        {"Hamlib map, in rigctl's words", "hamlib", {}, "-|-|cc 1 01 7F 00|-|cc 1 02 7F 00|-|cc 1 05 7F 00"},
        {"Elecraft map: no entry switches a state the poll reports", "elecraft", {}, "-|-|-|-|-|-|-"},
        {"a button learned as a note lights as that note", "flex", {{"surface/button1", "note 2 24"}},
         "-|-|note 2 24 7F 00|-|cc 1 02 7F 00|-|cc 1 05 7F 00"},
        {"a button learned before kinds: a control change on channel 1", "flex", {{"surface/button2", "30"}},
         "-|-|cc 1 01 7F 00|-|cc 1 30 7F 00|-|cc 1 05 7F 00"},
        {"a long press that switches on lights its button", "flex", {{"midimap/f0c7f", "FR1;"}, {"midimap/f0b7f", "RC;TX;"}},
         "-|cc 1 01 7F 00|cc 1 01 7F 00|cc 1 02 7F 00|cc 1 02 7F 00|-|cc 1 05 7F 00"},
        {"the user's messages and no light", "flex",
         {{"lights/cat", "note 16 7F 01 00"}, {"lights/split", "none"}, {"lights/xit", " cc 3 10 40 10 "}},
         "note 16 7F 01 00|-|-|-|cc 1 02 7F 00|cc 3 10 40 10|cc 1 05 7F 00"},
    };
    for (const auto& c : cases) {
        Desk desk(c.rig);
        for (const auto& [key, value] : c.settings)
            desk.store.values.insert(key, value);
        desk.keyMap.Load(desk.store);
        desk.learned.Load();
        EXPECT_TRUE(desk.table.Load().isEmpty()) << c.name;
        EXPECT_EQ(desk.Messages(), c.messages) << c.name;
    }
}

// An entry that is no message is reported as it stands and its light stays
// the button's own; the others are taken. What is stored comes back.
TEST(LightTable, UnreadableEntriesAreReportedAndTheRestKept)
{
    Desk desk;
    for (const auto& [key, value] : {std::pair{"split", "bend 1 7F 00"}, {"rit", "cc 1 02 80 00"},
                                     {"xit", "cc 17 02 7F 00"}, {"nb", "cc 1 05 7F"}, {"cat", "NONE"}})
        desk.store.values.insert(QString("lights/") + key, value);
    EXPECT_EQ(desk.table.Load(), QStringList({"split=bend 1 7F 00", "rit=cc 1 02 80 00", "xit=cc 17 02 7F 00", "nb=cc 1 05 7F"}));
    EXPECT_EQ(desk.Messages(), "-|-|cc 1 01 7F 00|-|cc 1 02 7F 00|-|cc 1 05 7F 00");

    LightTable::Entries entries = desk.table.entries();
    entries[int(Id::Transmit)] = {LightTable::Choice::Message, *LightMessage::Parse("note 1 3C 01 00")};
    entries[int(Id::Rit)].choice = LightTable::Choice::NoLight;
    desk.table.Store(entries);
    LightTable again(desk.store);
    EXPECT_TRUE(again.Load().isEmpty());
    EXPECT_EQ(again.entries(), entries);
}

// A light's message goes out when its state changes and not on a poll that
// finds the radio as it was; connecting sends every light, the end puts
// every light out, and a changed table puts out the old light first.
TEST(Lights, ChangesOnlyAllAtConnectAllOffAtTheEnd)
{
    Desk desk;
    desk.table.Load();
    RadioState state;
    state.answering = true;
    desk.lights.ShowAll(state);
    EXPECT_EQ(desk.Sent(), "B00100 B00200 B00500") << "split, RIT, noise blanker off";
    state.split = true;
    state.xit = true;  // no light
    desk.lights.Show(state);
    EXPECT_EQ(desk.Sent(), "B0017F");
    desk.lights.Show(state);
    EXPECT_EQ(desk.Sent(), "");
    state.split = false;
    state.SetFunction("NB", true);
    desk.lights.Show(state);
    EXPECT_EQ(desk.Sent(), "B00100 B0057F");
    desk.lights.ShowAll(state);
    EXPECT_EQ(desk.Sent(), "B00100 B00200 B0057F");

    LightTable::Entries entries = desk.table.entries();
    entries[int(Id::NoiseBlanker)] = {LightTable::Choice::Message, *LightMessage::Parse("note 2 24 7F 00")};
    desk.table.Store(entries);
    desk.lights.Show(state);
    EXPECT_EQ(desk.Sent(), "B00500 B00100 B00200 91247F");
    desk.lights.AllOff();
    EXPECT_EQ(desk.Sent(), "B00100 B00200 912400");
}
