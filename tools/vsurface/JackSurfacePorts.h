#pragma once

#include "vsurface/ISurfacePorts.h"

#include <QString>
#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <memory>

// The surface's ports on JACK as one client, as a controller shows itself:
// "out" sends the surface's messages, "in" takes the lights. (RtMidi opens a
// client for each port, and JACK would name the second one apart.) JACK's
// process thread moves the messages between the ports and two ring buffers;
// everything else runs on the caller's thread.
class JackSurfacePorts : public ISurfacePorts {
public:
    // Throws MidiSurfacePorts::Error when no JACK server answers.
    explicit JackSurfacePorts(const QString& clientName);
    ~JackSurfacePorts() override;
    JackSurfacePorts(const JackSurfacePorts&) = delete;
    JackSurfacePorts& operator=(const JackSurfacePorts&) = delete;

    void Send(const MidiBytes& message) override;
    std::vector<MidiBytes> TakeReceived() override;

private:
    struct RingFree {
        void operator()(jack_ringbuffer_t* ring) const { jack_ringbuffer_free(ring); }
    };
    using Ring = std::unique_ptr<jack_ringbuffer_t, RingFree>;

    static int Process(jack_nframes_t frames, void* self);
    void Carry(jack_nframes_t frames);

    // Declared before the client, which is closed first.
    Ring toSend_;
    Ring received_;
    jack_client_t* client_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_port_t* in_ = nullptr;
};
