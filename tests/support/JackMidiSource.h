#pragma once

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// A MIDI source on the test run's JACK server: a client (by default named
// like the control surface, "Vorn-MIDI") with one output port. The program
// lists it under the client name. Needs the "jack" test fixture.
class JackMidiSource {
public:
    using Bytes = std::vector<unsigned char>;

    explicit JackMidiSource(const std::string& clientName = "Vorn-MIDI",
                            const std::string& portName = "out")
        : out_(std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, clientName))
    {
        out_->openVirtualPort(portName);
    }

    // libjack walks a client's port list on its notification thread, after
    // any change of the graph, while closing a port changes that list on the
    // closing thread. So the source goes only once the news of earlier changes
    // (such as a client that was just opened) has been handed out, and the
    // news of its going is handed out before anything else closes.
    ~JackMidiSource()
    {
        std::this_thread::sleep_for(kGraphSettles);
        out_.reset();
        std::this_thread::sleep_for(kGraphSettles);
    }
    JackMidiSource(const JackMidiSource&) = delete;
    JackMidiSource& operator=(const JackMidiSource&) = delete;

    void Send(const Bytes& message) { out_->sendMessage(&message); }

    void SendControlChange(unsigned char controller, unsigned char value, unsigned char channel = 0)
    {
        Send({static_cast<unsigned char>(0xB0 | (channel & 0x0F)), controller, value});
    }

    void SendSysex(const Bytes& wholeMessage) { Send(wholeMessage); }

    // F0, then 1, 2, 3 ... (kept below 0x80), then F7: `length` bytes in all.
    static Bytes Sysex(std::size_t length)
    {
        Bytes bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes.push_back(i == 0 ? 0xF0 : i + 1 == length ? 0xF7 : i % 0x7F + 1);
        return bytes;
    }

private:
    static constexpr std::chrono::milliseconds kGraphSettles{100};
    std::unique_ptr<RtMidiOut> out_;
};
