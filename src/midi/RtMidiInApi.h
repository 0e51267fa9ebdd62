#pragma once

#include "midi/IMidiInApi.h"
#include "midi/RtMidiInDevice.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The MIDI input layer over RtMidi. Device numbers are the source ports seen
// by the last GetNumDevs(); the name of a device is its client name.
class RtMidiInApi : public IMidiInApi {
public:
    static constexpr int kNameLength = 31;

    explicit RtMidiInApi(const std::string& clientName = "Vorn-MIDI Connector");
    ~RtMidiInApi() override;

    // ALSA sequencer, or JACK when there is no sequencer device;
    // VMC_MIDI_API=alsa|jack forces one.
    static RtMidi::Api ChooseBackend();

    unsigned GetNumDevs() override;
    MmResult GetDevCaps(int deviceId, QString& name) override;
    MmResult Open(MidiInHandle& handle, int deviceId, MidiInCallback callback,
                  std::uintptr_t instance) override;
    MmResult PrepareHeader(MidiInHandle handle, MidiHdr* header) override;
    MmResult UnprepareHeader(MidiInHandle handle, MidiHdr* header) override;
    MmResult AddBuffer(MidiInHandle handle, MidiHdr* header) override;
    MmResult Start(MidiInHandle handle) override;
    MmResult Stop(MidiInHandle handle) override;
    MmResult Reset(MidiInHandle handle) override;
    MmResult Close(MidiInHandle handle) override;
    QString GetErrorText(MmResult code) override;

private:
    RtMidiInDevice* Find(MidiInHandle handle) const;
    bool IsListed(int deviceId) const;

    RtMidi::Api backend_;
    std::string clientName_;
    std::unique_ptr<RtMidiIn> lister_;
    std::vector<std::string> portNames_;
    std::map<MidiInHandle, std::unique_ptr<RtMidiInDevice>> devices_;
    MidiInHandle nextHandle_ = 1;
};
