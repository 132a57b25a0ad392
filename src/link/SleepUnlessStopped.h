#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace qv {

// The pause of a background thread: sleeps for `span` unless a stop is requested first, which ends it at
// once. False when the stop has been requested.
inline bool SleepUnlessStopped(std::stop_token stop, std::chrono::milliseconds span)
{
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, span, [] { return false; });
    return !stop.stop_requested();
}

} // namespace qv
