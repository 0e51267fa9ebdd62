#pragma once

// Whether the radio can be reached now: its line is open and it answers the poll.
class ILinkState {
public:
    virtual ~ILinkState() = default;
    virtual bool LinkUp() const = 0;
};
