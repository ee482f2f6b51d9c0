// Submissions a minute from one client address: a bucket per address, in memory only (no address
// is ever written down), refilled steadily; idle buckets are forgotten.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace scores {

class RateLimit {
  public:
    explicit RateLimit(int perMinute) : perMinute_(perMinute) {}
    // 0 when `address` may go on now (and the submission is counted), else the seconds to wait.
    int wait(const std::string& address,
             std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

  private:
    struct Bucket {
        double tokens;
        std::chrono::steady_clock::time_point at;
    };
    void forgetIdle(std::chrono::steady_clock::time_point now);

    int perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
    std::chrono::steady_clock::time_point swept_{};
};

}  // namespace scores
