#pragma once

#include "midi/MidiHdr.h"

#include <QString>
#include <cstdint>

using MidiInHandle = std::uintptr_t;  // 0: no device
using MmResult = std::uint32_t;       // 0: success, otherwise a failure code

// Called by the layer for every report of an open device, possibly on a
// thread of the MIDI system: handle, message code, instance data, param1, param2.
using MidiInCallback = void (*)(MidiInHandle, std::uint32_t, std::uintptr_t, std::uintptr_t,
                                std::uintptr_t);

// The MIDI input calls of the program, in the shape of the multimedia MIDI
// input functions. Every call except the callback runs on the UI thread.
class IMidiInApi {
public:
    static constexpr MmResult MMSYSERR_NOERROR = 0;
    static constexpr MmResult MMSYSERR_ERROR = 1;
    static constexpr MmResult MMSYSERR_BADDEVICEID = 2;
    static constexpr MmResult MMSYSERR_INVALHANDLE = 5;
    static constexpr MmResult MMSYSERR_NODRIVER = 6;
    static constexpr MmResult MMSYSERR_NOMEM = 7;
    static constexpr MmResult MMSYSERR_INVALPARAM = 11;
    static constexpr MmResult MIDIERR_UNPREPARED = 64;
    static constexpr MmResult MIDIERR_STILLPLAYING = 65;

    static constexpr std::uint32_t MIM_DATA = 0x3C3;
    static constexpr std::uint32_t MIM_LONGDATA = 0x3C4;

    virtual ~IMidiInApi() = default;

    // Takes a fresh look at the devices; numbers stay valid until the next call.
    virtual unsigned GetNumDevs() = 0;
    virtual MmResult GetDevCaps(int deviceId, QString& name) = 0;
    virtual MmResult Open(MidiInHandle& handle, int deviceId, MidiInCallback callback,
                          std::uintptr_t instance) = 0;
    virtual MmResult PrepareHeader(MidiInHandle handle, MidiHdr* header) = 0;
    virtual MmResult UnprepareHeader(MidiInHandle handle, MidiHdr* header) = 0;
    virtual MmResult AddBuffer(MidiInHandle handle, MidiHdr* header) = 0;
    virtual MmResult Start(MidiInHandle handle) = 0;
    virtual MmResult Stop(MidiInHandle handle) = 0;
    // Stops input and returns every queued buffer through the callback, empty.
    virtual MmResult Reset(MidiInHandle handle) = 0;
    virtual MmResult Close(MidiInHandle handle) = 0;
    virtual QString GetErrorText(MmResult code) = 0;
};
