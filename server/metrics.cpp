#include "metrics.h"

#include <cstdio>

namespace scores {

namespace {

const char* const kOutcomeNames[] = {"entered",   "duplicate",    "refused",    "bad_name",
                                     "too_large", "rate_limited", "queue_full", "store_unavailable"};
static_assert(sizeof kOutcomeNames / sizeof kOutcomeNames[0] == static_cast<int>(Outcome::Count));
const double kBounds[] = {0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};  // seconds

}  // namespace

void Metrics::verified(double seconds) {
    int b = 0;
    while (b < kBuckets && seconds > kBounds[b]) ++b;
    timeBuckets_[b]++;
    verifications_++;
    verifyMicros_ += static_cast<std::uint64_t>(seconds * 1e6);
}

std::string Metrics::render(std::size_t queueLength, std::uint64_t workerRestarts) const {
    std::string out =
        "# HELP korvex_submissions_total Submissions by how they ended.\n"
        "# TYPE korvex_submissions_total counter\n";
    char line[160];
    for (int i = 0; i < static_cast<int>(Outcome::Count); ++i) {
        std::snprintf(line, sizeof line, "korvex_submissions_total{outcome=\"%s\"} %llu\n", kOutcomeNames[i],
                      static_cast<unsigned long long>(outcomes_[i].load()));
        out += line;
    }
    out +=
        "# HELP korvex_verification_seconds Time a worker took to verify a recording.\n"
        "# TYPE korvex_verification_seconds histogram\n";
    std::uint64_t cumulative = 0;
    for (int b = 0; b <= kBuckets; ++b) {
        cumulative += timeBuckets_[b].load();
        if (b < kBuckets) {
            std::snprintf(line, sizeof line, "korvex_verification_seconds_bucket{le=\"%g\"} %llu\n",
                          kBounds[b], static_cast<unsigned long long>(cumulative));
        } else {
            std::snprintf(line, sizeof line, "korvex_verification_seconds_bucket{le=\"+Inf\"} %llu\n",
                          static_cast<unsigned long long>(cumulative));
        }
        out += line;
    }
    std::snprintf(line, sizeof line,
                  "korvex_verification_seconds_sum %.6f\nkorvex_verification_seconds_count %llu\n",
                  verifyMicros_.load() / 1e6, static_cast<unsigned long long>(verifications_.load()));
    out += line;
    std::snprintf(
        line, sizeof line,
        "# HELP korvex_queue_length Recordings waiting for a worker.\n# TYPE korvex_queue_length gauge\n"
        "korvex_queue_length %zu\n",
        queueLength);
    out += line;
    std::snprintf(
        line, sizeof line,
        "# HELP korvex_store_errors_total Store calls that failed.\n# TYPE korvex_store_errors_total "
        "counter\nkorvex_store_errors_total %llu\n",
        static_cast<unsigned long long>(storeErrors_.load()));
    out += line;
    std::snprintf(line, sizeof line,
                  "# HELP korvex_worker_restarts_total Workers started again after a crash or a limit.\n"
                  "# TYPE korvex_worker_restarts_total counter\nkorvex_worker_restarts_total %llu\n",
                  static_cast<unsigned long long>(workerRestarts));
    return out + line;
}

}  // namespace scores
