#pragma once

#include "hamlib/HamlibVfo.h"

#include <QtGlobal>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

// Where a wheel's steps wait for the worker: the newest frequency of each VFO,
// in batches. A step joins the batch still waiting (replacing that VFO's
// frequency in it), or opens a new one, for which the caller posts one take.
// Any other request seals the waiting batch, so steps after it wait behind
// it: the radio gets every request in the order it was made, and never more
// than the newest frequency per VFO between two of them.
// Put and Seal: any thread; they post under the slot's lock, so what they
// post is queued in the order of the calls. Take: the worker's thread.
class HamlibStepSlot {
public:
    struct Step {
        HamlibVfo vfo;
        qint64 hertz;
    };
    struct Batch {
        std::vector<Step> steps;
        // The number of the newest step in the batch.
        quint64 serial = 0;
    };

    // Stores the step; runs `postTake` when the step opened a new batch.
    // Returns the step's number, counting from 1.
    quint64 Put(HamlibVfo vfo, qint64 hertz, const std::function<void()>& postTake);
    // Seals the waiting batch and runs `post` (the request that seals it).
    void Seal(const std::function<void()>& post);
    // The oldest batch, taken out; empty when none waits.
    Batch Take();
    bool Waiting() const;

private:
    struct Entry {
        Batch batch;
        bool sealed = false;
    };

    mutable std::mutex mutex_;
    std::deque<Entry> waiting_;
    quint64 serial_ = 0;
};
