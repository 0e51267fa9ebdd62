#include "hamlib/HamlibRequestQueue.h"

#include <algorithm>

HamlibRequestQueue::HamlibRequestQueue(std::function<void()> wake) : wake_(std::move(wake))
{
}

quint64 HamlibRequestQueue::Put(std::function<void()> request)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (shut_)
        return serial_;
    items_.push_back({std::move(request), {}, ++serial_});
    Wake();
    return serial_;
}

quint64 HamlibRequestQueue::PutStep(Vfo vfo, qint64 hertz)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (shut_)
        return serial_;
    if (items_.empty() || items_.back().request)
        items_.push_back({});
    Item& batch = items_.back();
    const auto same = std::find_if(batch.steps.begin(), batch.steps.end(), [vfo](const Step& s) { return s.vfo == vfo; });
    if (same != batch.steps.end())
        same->hertz = hertz;
    else
        batch.steps.push_back({vfo, hertz});
    batch.serial = ++serial_;
    Wake();
    return serial_;
}

std::optional<HamlibRequestQueue::Item> HamlibRequestQueue::Take(bool& more)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Item> item;
    if (!items_.empty()) {
        item = std::move(items_.front());
        items_.pop_front();
    }
    more = !items_.empty();
    woken_ = more;
    return item;
}

bool HamlibRequestQueue::StepsWaiting() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(items_.begin(), items_.end(), [](const Item& item) { return !item.request; });
}

void HamlibRequestQueue::Shut()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    shut_ = true;
    items_.clear();
}

// Under the lock, so the worker cannot find the queue empty between the
// request's arrival and the decision to wake it.
void HamlibRequestQueue::Wake()
{
    if (!std::exchange(woken_, true))
        wake_();
}
