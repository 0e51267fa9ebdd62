#pragma once

#include <atomic>
#include <cstdint>

// A receive buffer header in the shape of the multimedia MIDIHDR. The input
// layer and its caller hand it back and forth across threads; dwFlags is the
// field both sides look at, so it is atomic.
struct MidiHdr {
    static constexpr std::uint32_t MHDR_DONE = 0x1;
    static constexpr std::uint32_t MHDR_PREPARED = 0x2;
    static constexpr std::uint32_t MHDR_INQUEUE = 0x4;

    char* lpData = nullptr;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::atomic<std::uint32_t> dwFlags{0};
    MidiHdr* lpNext = nullptr;
    std::uintptr_t reserved = 0;
    std::uint32_t dwOffset = 0;
    std::uintptr_t dwReserved[8] = {};
};
