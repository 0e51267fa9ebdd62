#include "vsurface/ButtonGesture.h"

std::vector<ButtonGesture::Edge> ButtonGesture::Press(bool forceLong)
{
    if (state_ != State::Up)
        return {};
    if (forceLong) {
        state_ = State::Long;
        return {{PressLength::Long, true}};
    }
    state_ = State::Undecided;
    return {};
}

std::vector<ButtonGesture::Edge> ButtonGesture::HoldElapsed()
{
    if (state_ != State::Undecided)
        return {};
    state_ = State::Long;
    return {{PressLength::Long, true}};
}

std::vector<ButtonGesture::Edge> ButtonGesture::Release()
{
    const State was = state_;
    state_ = State::Up;
    switch (was) {
    case State::Undecided: return {{PressLength::Short, true}, {PressLength::Short, false}};
    case State::Long: return {{PressLength::Long, false}};
    case State::Up: break;
    }
    return {};
}
