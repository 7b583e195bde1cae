#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plux/vst2/Vst2Abi.hpp"

namespace vst2host
{

// One call the plug-in made to the host.
struct CallbackRecord
{
    vst2::VstInt32 opcode = 0;
    vst2::VstInt32 index = 0;
    vst2::VstIntPtr value = 0;
    float opt = 0.0f;
    bool null_effect = false; // the plug-in passed no effect record (as the entry does)
    std::string text;         // the capability asked for by audioMasterCanDo, copied
    std::thread::id thread;
    std::chrono::steady_clock::time_point time; // when it arrived, set by the log
};

// Every host callback in arrival order. Callbacks come from any thread of the plug-in (its
// processing thread, its background threads), so each operation takes the log's lock; readers get
// copies.
class CallbackLog
{
public:
    using Predicate = std::function<bool(const std::vector<CallbackRecord>&)>;

    void add(CallbackRecord record);
    void clear();

    std::vector<CallbackRecord> get_records() const;
    std::size_t count(vst2::VstInt32 opcode) const;

    // Waits until done holds for the records (checked at once and after each new record), or until
    // timeout has passed. Answers whether done held. done runs under the log's lock, so it must not
    // call the log.
    bool wait_for(const Predicate& done, std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex;
    mutable std::condition_variable added;
    std::vector<CallbackRecord> records;
};

} // namespace vst2host
