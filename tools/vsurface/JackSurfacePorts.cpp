#include "vsurface/JackSurfacePorts.h"

#include "vsurface/MidiSurfacePorts.h"

#include <jack/midiport.h>

namespace {
constexpr std::size_t kRingBytes = 4096;
constexpr std::size_t kMessageBytes = sizeof(MidiBytes);
}

JackSurfacePorts::JackSurfacePorts(const QString& clientName)
    : toSend_(jack_ringbuffer_create(kRingBytes)), received_(jack_ringbuffer_create(kRingBytes))
{
    jack_status_t status{};
    client_ = jack_client_open(clientName.toUtf8().constData(), JackNoStartServer, &status);
    if (!client_)
        throw MidiSurfacePorts::Unreachable(RtMidi::UNIX_JACK, QStringLiteral("no JACK server answers"));
    out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client_, &JackSurfacePorts::Process, this);
    if (!out_ || !in_ || jack_activate(client_) != 0) {
        jack_client_close(client_);
        throw MidiSurfacePorts::Unreachable(RtMidi::UNIX_JACK, QStringLiteral("its ports cannot be opened"));
    }
}

JackSurfacePorts::~JackSurfacePorts()
{
    jack_deactivate(client_);
    jack_client_close(client_);
}

void JackSurfacePorts::Send(const MidiBytes& message)
{
    if (jack_ringbuffer_write_space(toSend_.get()) < kMessageBytes)
        throw MidiSurfacePorts::Error("Sending failed: JACK takes no more messages");
    jack_ringbuffer_write(toSend_.get(), reinterpret_cast<const char*>(message.data()), kMessageBytes);
}

std::vector<MidiBytes> JackSurfacePorts::TakeReceived()
{
    std::vector<MidiBytes> messages;
    MidiBytes message{};
    while (jack_ringbuffer_read(received_.get(), reinterpret_cast<char*>(message.data()), kMessageBytes) ==
           kMessageBytes)
        messages.push_back(message);
    return messages;
}

int JackSurfacePorts::Process(jack_nframes_t frames, void* self)
{
    static_cast<JackSurfacePorts*>(self)->Carry(frames);
    return 0;
}

void JackSurfacePorts::Carry(jack_nframes_t frames)
{
    void* out = jack_port_get_buffer(out_, frames);
    jack_midi_clear_buffer(out);
    MidiBytes message{};
    while (jack_ringbuffer_read_space(toSend_.get()) >= kMessageBytes) {
        jack_ringbuffer_read(toSend_.get(), reinterpret_cast<char*>(message.data()), kMessageBytes);
        jack_midi_event_write(out, 0, message.data(), kMessageBytes);
    }
    void* in = jack_port_get_buffer(in_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(in);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in, i) != 0 || event.size == 0 || event.size > kMessageBytes ||
            jack_ringbuffer_write_space(received_.get()) < kMessageBytes)
            continue;
        message = {};
        std::copy_n(event.buffer, event.size, message.begin());
        jack_ringbuffer_write(received_.get(), reinterpret_cast<const char*>(message.data()), kMessageBytes);
    }
}
