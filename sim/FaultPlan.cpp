#include "FaultPlan.h"

FaultPlan::Decision FaultPlan::take(const std::string &key)
{
    std::lock_guard lock(mutex_);
    Decision decision;
    const auto found = entries_.find(key);
    if (found == entries_.end())
        return decision;
    Entry &entry = found->second;
    decision.delayMs = entry.delayMs;
    decision.encoding = entry.encoding;
    if (!entry.next.empty()) {
        decision.override = entry.next.front();
        entry.next.pop_front();
    } else {
        decision.override = entry.always;
    }
    return decision;
}

void FaultPlan::queue(const std::string &key, const Override &next, int count)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < count; ++i)
        entries_[key].next.push_back(next);
}

void FaultPlan::setForever(const std::string &key, const Override &always)
{
    std::lock_guard lock(mutex_);
    entries_[key].always = always;
}

void FaultPlan::clearOverrides(const std::string &key)
{
    std::lock_guard lock(mutex_);
    Entry &entry = entries_[key];
    entry.next.clear();
    entry.always.reset();
}

void FaultPlan::setDelay(const std::string &key, int milliseconds)
{
    std::lock_guard lock(mutex_);
    entries_[key].delayMs = milliseconds;
}

void FaultPlan::setEncoding(const std::string &key, Encoding encoding)
{
    std::lock_guard lock(mutex_);
    entries_[key].encoding = encoding;
}

void FaultPlan::clear()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
}
