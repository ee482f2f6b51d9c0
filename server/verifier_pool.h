// The pool of verifier worker processes, with a bounded queue in front of it. The game keeps its
// state in globals, so each worker plays one recording at a time; a worker that crashes, overruns
// its limits or stops answering is killed and started again, and its recording is refused.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "verdict.h"

namespace scores {

struct PoolLimits {
    int workers = 1;
    std::size_t queue = 64;  // recordings waiting beyond those being played
    long cpuSeconds = 30;    // processor time per recording
    long memoryMiB = 1024;   // address space per worker
    long wallSeconds = 60;   // time per recording, whatever the worker does
};

class VerifierPool {
  public:
    VerifierPool(std::string program, const PoolLimits& limits);
    ~VerifierPool();
    VerifierPool(const VerifierPool&) = delete;
    VerifierPool& operator=(const VerifierPool&) = delete;

    // Nothing when the queue is full (the caller answers 503).
    std::optional<std::future<Verdict>> submit(std::string recording);
    std::size_t queued() const;
    std::uint64_t restarts() const { return restarts_; }

  private:
    struct Job {
        std::string recording;
        std::promise<Verdict> answer;
    };
    struct Worker;
    void run(int index);
    Verdict play(Worker& worker, const std::string& recording);

    std::string program_;
    PoolLimits limits_;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::atomic<std::uint64_t> restarts_{0};
    std::vector<std::thread> threads_;
};

}  // namespace scores
