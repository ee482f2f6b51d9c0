// The service's counters, in Prometheus' text format at /metrics.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace scores {

// Every way a submission ends; the order is the order of kOutcomeNames in metrics.cpp.
enum class Outcome {
    Entered,
    Duplicate,
    Refused,
    BadName,
    TooLarge,
    RateLimited,
    QueueFull,
    StoreUnavailable,
    Count
};

class Metrics {
  public:
    void count(Outcome outcome) { outcomes_[static_cast<int>(outcome)]++; }
    void storeError() { storeErrors_++; }
    void verified(double seconds);
    std::string render(std::size_t queueLength, std::uint64_t workerRestarts) const;

  private:
    static constexpr int kBuckets = 8;
    std::array<std::atomic<std::uint64_t>, static_cast<int>(Outcome::Count)> outcomes_{};
    std::atomic<std::uint64_t> storeErrors_{0};
    std::array<std::atomic<std::uint64_t>, kBuckets + 1> timeBuckets_{};  // the last: +Inf
    std::atomic<std::uint64_t> verifications_{0};
    std::atomic<std::uint64_t> verifyMicros_{0};
};

}  // namespace scores
