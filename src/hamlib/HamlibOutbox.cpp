#include "hamlib/HamlibOutbox.h"

#include <utility>

HamlibOutbox::HamlibOutbox(std::function<void()> wake) : wake_(std::move(wake))
{
}

void HamlibOutbox::Put(HamlibReport report)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back(std::move(report));
    if (reports_.size() == 1)
        wake_();
}

std::vector<HamlibReport> HamlibOutbox::TakeAll()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(reports_, {});
}
