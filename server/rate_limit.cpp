#include "rate_limit.h"

#include <algorithm>
#include <cmath>

namespace scores {

int RateLimit::wait(const std::string& address, std::chrono::steady_clock::time_point now) {
    if (perMinute_ <= 0) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    forgetIdle(now);
    const double perSecond = perMinute_ / 60.0;
    auto found = buckets_.find(address);
    if (found == buckets_.end()) found = buckets_.emplace(address, Bucket{double(perMinute_), now}).first;
    Bucket& b = found->second;
    b.tokens = std::min<double>(perMinute_,
                                b.tokens + std::chrono::duration<double>(now - b.at).count() * perSecond);
    b.at = now;
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return 0;
    }
    return std::max(1, static_cast<int>(std::ceil((1 - b.tokens) / perSecond)));
}

// A bucket full again says nothing a new one would not: once a minute, those go.
void RateLimit::forgetIdle(std::chrono::steady_clock::time_point now) {
    if (now - swept_ < std::chrono::minutes(1)) return;
    swept_ = now;
    for (auto it = buckets_.begin(); it != buckets_.end();) {
        const bool full = it->second.tokens + std::chrono::duration<double>(now - it->second.at).count() *
                                                  perMinute_ / 60.0 >=
                          perMinute_;
        it = full ? buckets_.erase(it) : std::next(it);
    }
}

}  // namespace scores
