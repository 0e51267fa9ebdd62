#pragma once

#include "core/Vfo.h"

#include <QtGlobal>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Requests on their way from the UI thread to the worker's, the wheel's steps
// among them. A step joins the batch of steps waiting at the end of the queue
// (replacing that VFO's frequency in it) or starts a new batch; any other
// request goes behind. So the radio gets every request in the order it was
// made, and between two of them never more than the newest frequency per VFO.
// The first request into an empty queue calls `wake`; the worker then takes
// one request per call until the queue is empty.
// Everything passes under one mutex, which also orders the two threads'
// memory where ThreadSanitizer can see it (Qt's event queue it cannot).
// Put, PutStep, StepsWaiting, Shut: any thread. Take: the worker's thread.
class HamlibRequestQueue {
public:
    struct Step {
        Vfo vfo;
        qint64 hertz;
    };
    struct Item {
        // Empty for a batch of steps.
        std::function<void()> request;
        std::vector<Step> steps;
        // The request's number, or the number of the newest step in the batch.
        quint64 serial = 0;
    };

    explicit HamlibRequestQueue(std::function<void()> wake);

    // Each returns the number it gives the request, counting from 1.
    quint64 Put(std::function<void()> request);
    quint64 PutStep(Vfo vfo, qint64 hertz);
    // The oldest item, taken out; `more` tells whether others wait behind it.
    std::optional<Item> Take(bool& more);
    bool StepsWaiting() const;
    // Drops what waits and takes nothing more.
    void Shut();

private:
    void Wake();

    mutable std::mutex mutex_;
    std::deque<Item> items_;
    std::function<void()> wake_;
    bool woken_ = false;
    bool shut_ = false;
    quint64 serial_ = 0;
};
