#pragma once

#include "hamlib/HamlibReport.h"

#include <functional>
#include <mutex>
#include <vector>

// Reports on their way from the worker's thread to the UI thread. The first
// report into an empty outbox calls `wake`; the UI thread then takes all that
// wait. They pass under one mutex, which also orders the two threads' memory
// where ThreadSanitizer can see it.
// Put: any thread (the worker's). TakeAll: the UI thread.
class HamlibOutbox {
public:
    explicit HamlibOutbox(std::function<void()> wake);

    void Put(HamlibReport report);
    std::vector<HamlibReport> TakeAll();

private:
    std::mutex mutex_;
    std::vector<HamlibReport> reports_;
    std::function<void()> wake_;
};
