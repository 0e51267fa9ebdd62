#pragma once

#include "vsurface/SurfaceEncoder.h"

#include <vector>

// One press of one button, from down to up. A press becomes a long press when
// it is held for kLongPressMs (the owner's timer calls HoldElapsed) or when it
// starts with a modifier; otherwise it is a short press, sent whole on release
// because only then is it known to be short.
class ButtonGesture {
public:
    static constexpr int kLongPressMs = 600;

    struct Edge {
        PressLength length;
        bool down;
        bool operator==(const Edge& other) const
        {
            return length == other.length && down == other.down;
        }
    };

    std::vector<Edge> Press(bool forceLong);
    std::vector<Edge> HoldElapsed();
    std::vector<Edge> Release();

    // True while the press may still turn long, i.e. the hold timer should run.
    bool WaitingForHold() const { return state_ == State::Undecided; }

private:
    enum class State { Up, Undecided, Long };
    State state_ = State::Up;
};
