#include "hamlib/HamlibStepSlot.h"

#include <algorithm>

quint64 HamlibStepSlot::Put(HamlibVfo vfo, qint64 hertz, const std::function<void()>& postTake)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool opens = waiting_.empty() || waiting_.back().sealed;
    if (opens)
        waiting_.emplace_back();
    Batch& batch = waiting_.back().batch;
    const auto same = std::find_if(batch.steps.begin(), batch.steps.end(), [vfo](const Step& s) { return s.vfo == vfo; });
    if (same != batch.steps.end())
        same->hertz = hertz;
    else
        batch.steps.push_back({vfo, hertz});
    batch.serial = ++serial_;
    if (opens)
        postTake();
    return serial_;
}

void HamlibStepSlot::Seal(const std::function<void()>& post)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!waiting_.empty())
        waiting_.back().sealed = true;
    post();
}

HamlibStepSlot::Batch HamlibStepSlot::Take()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.empty())
        return {};
    Batch batch = std::move(waiting_.front().batch);
    waiting_.pop_front();
    return batch;
}

bool HamlibStepSlot::Waiting() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return !waiting_.empty();
}
