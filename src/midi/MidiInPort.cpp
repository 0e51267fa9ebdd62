#include "midi/MidiInPort.h"

#include <algorithm>

namespace {
constexpr unsigned char kSysexStart = 0xF0;
constexpr unsigned char kTimingClock = 0xF8;
}

MidiInPort::MidiInPort(RtMidi::Api api, const std::string& clientName, MidiInRing& ring,
                       MidiInWake& wake)
    : ring_(ring), wake_(wake), midi_(api, clientName)
{
    midi_.setErrorCallback(&MidiInPort::OnError, this);
    // System-exclusive messages, the timing clock and active sensing all come
    // through; the callback drops the clock itself.
    midi_.ignoreTypes(false, false, false);
}

QString MidiInPort::Open(const std::string& sourcePortName)
{
    error_.clear();
    const unsigned count = midi_.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (midi_.getPortName(i) != sourcePortName)
            continue;
        openedAt_.store(std::chrono::steady_clock::now().time_since_epoch().count());
        midi_.setCallback(&MidiInPort::OnMessage, this);
        midi_.openPort(i, "MIDI In");
        if (error_.empty() && midi_.isPortOpen())
            return {};
        return error_.empty() ? QStringLiteral("The MIDI device could not be opened.")
                              : QString::fromStdString(error_);
    }
    return error_.empty()
               ? QStringLiteral("The MIDI device %1 is no longer there.")
                     .arg(QString::fromStdString(sourcePortName))
               : QString::fromStdString(error_);
}

void MidiInPort::OnMessage(double, std::vector<unsigned char>* message, void* self)
{
    auto* port = static_cast<MidiInPort*>(self);
    if (!message)
        return;
    if (Deliver(port->ring_, message->data(), message->size(), port->Timestamp()))
        port->wake_.Wake();
}

void MidiInPort::OnError(RtMidiError::Type type, const std::string& text, void* self)
{
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
        static_cast<MidiInPort*>(self)->error_ = text;
}

bool MidiInPort::Deliver(MidiInRing& ring, const unsigned char* bytes, std::size_t size,
                         std::uint32_t timestamp) noexcept
{
    if (size == 0 || bytes[0] == kTimingClock)
        return false;
    if (bytes[0] != kSysexStart) {
        ring.Push(MidiEvent::Short(bytes[0], size > 1 ? bytes[1] : 0, size > 2 ? bytes[2] : 0,
                                   timestamp));
        return true;
    }
    for (std::size_t offset = 0; offset < size; offset += MidiEvent::kSysexChunk) {
        MidiEvent piece;
        piece.timestamp = timestamp;
        piece.sysexLength = static_cast<std::uint8_t>(
            std::min<std::size_t>(size - offset, MidiEvent::kSysexChunk));
        std::copy_n(bytes + offset, piece.sysexLength, piece.sysex.begin());
        ring.Push(piece);
    }
    return true;
}

std::uint32_t MidiInPort::Timestamp() const noexcept
{
    const std::chrono::steady_clock::duration since(
        std::chrono::steady_clock::now().time_since_epoch().count() - openedAt_.load());
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
