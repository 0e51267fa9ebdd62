#pragma once

#include "core/RadioState.h"

#include <functional>
#include <utility>

// The state one radio keeps. It changes only through Change(), which tells
// `changed` once when the change moved a field, and not at all when it moved
// none (a poll that found the radio as it was). UI thread only.
class RadioStateKeeper {
public:
    using Changed = std::function<void(RadioState::Fields fields, const RadioState& before, const RadioState& after)>;

    explicit RadioStateKeeper(Changed changed) : changed_(std::move(changed)) {}

    const RadioState& Get() const { return state_; }

    template <typename Edit>
    void Change(Edit&& edit)
    {
        const RadioState before = state_;
        std::forward<Edit>(edit)(state_);
        if (const RadioState::Fields fields = before.DifferencesTo(state_))
            changed_(fields, before, state_);
    }
    // Forgets everything the radio said: it is not answering until it has.
    void Reset()
    {
        Change([](RadioState& state) { state = RadioState(); });
    }

private:
    Changed changed_;
    RadioState state_;
};
