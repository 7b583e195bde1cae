#include "vst2host/CallbackLog.hpp"

#include <algorithm>
#include <utility>

namespace vst2host
{

void CallbackLog::add(CallbackRecord record)
{
    record.time = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(mutex);
        records.push_back(std::move(record));
    }
    added.notify_all();
}

void CallbackLog::clear()
{
    std::lock_guard lock(mutex);
    records.clear();
}

std::vector<CallbackRecord> CallbackLog::get_records() const
{
    std::lock_guard lock(mutex);
    return records;
}

std::size_t CallbackLog::count(vst2::VstInt32 opcode) const
{
    std::lock_guard lock(mutex);
    return static_cast<std::size_t>(std::count_if(records.begin(), records.end(),
                                                  [opcode](const CallbackRecord& record)
                                                  { return record.opcode == opcode; }));
}

bool CallbackLog::wait_for(const Predicate& done, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex);
    return added.wait_for(lock, timeout, [&] { return done(records); });
}

} // namespace vst2host
