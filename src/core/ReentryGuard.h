#pragma once

// Keeps a timer handler from running again while it is still running, for
// instance underneath a modal message box that the handler shows.
class ReentryGuard {
public:
    class Scope {
    public:
        explicit Scope(ReentryGuard& g) : guard_(g), entered_(!g.busy_) { guard_.busy_ = true; }
        ~Scope()
        {
            if (entered_)
                guard_.busy_ = false;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        // False when the handler is already running further up the stack.
        bool entered() const { return entered_; }

    private:
        ReentryGuard& guard_;
        bool entered_;
    };

    bool busy() const { return busy_; }

private:
    bool busy_ = false;
};
