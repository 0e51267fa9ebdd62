#pragma once

#include "vsurface/IMidiOut.h"

#include <stdexcept>
#include <vector>

class RecordingMidiOut : public IMidiOut {
public:
    void Send(const MidiBytes& message) override
    {
        if (failWith)
            throw std::runtime_error(failWith);
        sent.push_back(message);
    }
    std::vector<MidiBytes> sent;
    const char* failWith = nullptr;
};
