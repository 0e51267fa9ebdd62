#pragma once

#include <functional>
#include <mutex>
#include <vector>

// Reports on their way from the worker's thread to the UI thread, each a call
// to make there. The first report into an empty outbox calls `wake`; the UI
// thread then takes all that wait. They pass under one mutex, which also
// orders the two threads' memory where ThreadSanitizer can see it.
// Put: any thread (the worker's). TakeAll: the UI thread.
class HamlibOutbox {
public:
    explicit HamlibOutbox(std::function<void()> wake);

    void Put(std::function<void()> report);
    std::vector<std::function<void()>> TakeAll();

private:
    std::mutex mutex_;
    std::vector<std::function<void()>> reports_;
    std::function<void()> wake_;
};
