#include "midi/RtMidiInDevice.h"

#include <algorithm>
#include <cstring>
#include <thread>

RtMidiInDevice::RtMidiInDevice(RtMidi::Api backend, const std::string& clientName,
                               MidiInHandle handle, MidiInCallback callback,
                               std::uintptr_t instance)
    : handle_(handle), callback_(callback), instance_(instance), midi_(backend, clientName)
{
    midi_.setErrorCallback(&RtMidiInDevice::OnError, this);
    // Sysex and active sensing are wanted; the timing clock is dropped by the callback.
    midi_.ignoreTypes(false, false, false);
    midi_.setCallback(&RtMidiInDevice::OnMessage, this);
}

RtMidiInDevice::~RtMidiInDevice()
{
    Stop();
}

bool RtMidiInDevice::OpenPort(const std::string& sourcePortName)
{
    const unsigned count = midi_.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (midi_.getPortName(i) == sourcePortName) {
            midi_.openPort(i, "MIDI In");
            return !failed_.load() && midi_.isPortOpen();
        }
    }
    return false;
}

MmResult RtMidiInDevice::AddBuffer(MidiHdr* header)
{
    const unsigned tail = buffersTail_.load(std::memory_order_relaxed);
    if (tail - buffersHead_.load(std::memory_order_acquire) == kBufferQueueSize)
        return IMidiInApi::MMSYSERR_NOMEM;
    header->dwBytesRecorded = 0;
    header->dwFlags.store((header->dwFlags.load() & ~MidiHdr::MHDR_DONE) | MidiHdr::MHDR_INQUEUE);
    buffers_[tail % kBufferQueueSize] = header;
    buffersTail_.store(tail + 1, std::memory_order_release);
    return IMidiInApi::MMSYSERR_NOERROR;
}

bool RtMidiInDevice::HasQueuedBuffers() const
{
    return buffersHead_.load(std::memory_order_acquire) != buffersTail_.load(std::memory_order_acquire);
}

void RtMidiInDevice::Start()
{
    startTicks_.store(std::chrono::steady_clock::now().time_since_epoch().count());
    started_.store(true);
}

void RtMidiInDevice::Stop()
{
    // Pairs with OnMessage: either the callback sees the stop, or we see it
    // running and wait the few microseconds until it is done.
    started_.store(false);
    while (callbacksRunning_.load() != 0)
        std::this_thread::yield();
}

void RtMidiInDevice::Reset()
{
    Stop();
    while (MidiHdr* header = TakeBuffer()) {
        header->dwBytesRecorded = 0;
        ReturnBuffer(header, Timestamp());
    }
}

void RtMidiInDevice::OnMessage(double, std::vector<unsigned char>* message, void* device)
{
    auto* self = static_cast<RtMidiInDevice*>(device);
    self->callbacksRunning_.fetch_add(1);
    if (self->started_.load() && message)
        self->Deliver(*message);
    self->callbacksRunning_.fetch_sub(1);
}

void RtMidiInDevice::OnError(RtMidiError::Type type, const std::string&, void* device)
{
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
        static_cast<RtMidiInDevice*>(device)->failed_.store(true);
}

void RtMidiInDevice::Deliver(const std::vector<unsigned char>& message)
{
    if (message.empty())
        return;
    const std::uint32_t timestamp = Timestamp();
    if (message.front() == 0xF0) {
        DeliverSysex(message, timestamp);
        return;
    }
    std::uintptr_t packed = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(message.size(), 3); ++i)
        packed |= static_cast<std::uintptr_t>(message[i]) << (8 * i);
    callback_(handle_, IMidiInApi::MIM_DATA, instance_, packed, timestamp);
}

void RtMidiInDevice::DeliverSysex(const std::vector<unsigned char>& message, std::uint32_t timestamp)
{
    std::size_t offset = 0;
    while (offset < message.size()) {
        MidiHdr* header = TakeBuffer();
        if (!header)
            return;  // no buffer queued: the rest is lost, as with any driver
        const std::size_t count = std::min<std::size_t>(message.size() - offset, header->dwBufferLength);
        std::memcpy(header->lpData, message.data() + offset, count);
        header->dwBytesRecorded = static_cast<std::uint32_t>(count);
        offset += count;
        ReturnBuffer(header, timestamp);
    }
}

void RtMidiInDevice::ReturnBuffer(MidiHdr* header, std::uint32_t timestamp)
{
    header->dwFlags.store((header->dwFlags.load() & ~MidiHdr::MHDR_INQUEUE) | MidiHdr::MHDR_DONE);
    callback_(handle_, IMidiInApi::MIM_LONGDATA, instance_, reinterpret_cast<std::uintptr_t>(header),
              timestamp);
}

MidiHdr* RtMidiInDevice::TakeBuffer()
{
    const unsigned head = buffersHead_.load(std::memory_order_relaxed);
    if (head == buffersTail_.load(std::memory_order_acquire))
        return nullptr;
    MidiHdr* header = buffers_[head % kBufferQueueSize];
    buffersHead_.store(head + 1, std::memory_order_release);
    return header;
}

std::uint32_t RtMidiInDevice::Timestamp() const
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::chrono::steady_clock::duration sinceStart(now - startTicks_.load());
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
