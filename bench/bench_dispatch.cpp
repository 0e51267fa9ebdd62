// Cost of dispatching one MIDI message: key building, map lookup, step
// arithmetic, the radio's text and the hand-over to a CAT line that discards it.
#include "cat/CatRadio.h"
#include "cat/ICatLink.h"
#include "core/IAlerts.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "dispatch/SurfaceDispatcher.h"
#include "support/MemorySettingsStore.h"
#include "support/RadioReply.h"
#include "support/RecordingLog.h"

#include <chrono>
#include <cstdio>

namespace {

class NullCatLink : public ICatLink {
public:
    bool IsOpen() const override { return true; }
    void Send(const QString& command) override { bytes += command.size(); }
    void SendStep(const QString& command) override { Send(command); }
    qint64 bytes = 0;
};

class SilentAlerts : public IAlerts {
public:
    void Tell(const QString&, Icon, const QString&) override { ++boxes; }
    bool AskYesNo(const QString&, Icon, const QString&) override { return false; }
    QString AskForText(const QString&, const QString&, const QString& defaultAnswer) override
    {
        return defaultAnswer;
    }
    int boxes = 0;
};

double NanosecondsPerCall(const char* rigtype, const char* midiid, const char* midicmd)
{
    MemorySettingsStore store;
    KeyMap keyMap;
    keyMap.Load(store);
    const MidiEvent message = MidiEvent::Short(0xB0, QByteArray(midiid).toUInt(nullptr, 16),
                                               QByteArray(midicmd).toUInt(nullptr, 16));
    Options options;
    options.SetText(Options::Key::RigType, QString::fromLatin1(rigtype));
    SilentAlerts alerts;
    NullCatLink cat;
    CatRadio radio(cat, alerts, options);
    radio.TakeReply(IfReply("00014060000", '2'), true);
    RecordingLog log;
    SurfaceDispatcher dispatcher(keyMap, options, radio, alerts, log);

    constexpr int kCalls = 1000000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        dispatcher.Dispatch(message);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (alerts.boxes != 0 || cat.bytes == 0)
        std::fprintf(stderr, "unexpected outcome for %s %s %s\n", rigtype, midiid, midicmd);
    return std::chrono::duration<double, std::nano>(elapsed).count() / kCalls;
}

} // namespace

int main()
{
    const struct {
        const char* what;
        const char* rigtype;
        const char* midiid;
        const char* midicmd;
    } cases[] = {
        {"Flex wheel step \"#UP10\" (FA frequency)", "flex", "64", "41"},
        {"Elecraft wheel raw \"UP1;\"", "elecraft", "64", "41"},
        {"Flex slider \"#TXPWR\"", "flex", "68", "40"},
        {"Flex button \"#MUP\"", "flex", "06", "7F"},
    };
    for (const auto& c : cases)
        std::printf("%-42s %8.1f ns per message\n", c.what,
                    NanosecondsPerCall(c.rigtype, c.midiid, c.midicmd));
    return 0;
}
