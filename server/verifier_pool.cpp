// Worker processes are started with posix_spawn (safe in a threaded server), each with its own pair
// of pipes closed on exec, so no worker holds another's.
#include "verifier_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace scores {

struct VerifierPool::Worker {
    pid_t pid = -1;
    int toWorker = -1, fromWorker = -1;
    std::string pending;  // what was read past the last answer line

    bool start(const std::string& program, const PoolLimits& limits) {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0) return false;
        if (pipe2(out, O_CLOEXEC) != 0) {
            close(in[0]);
            close(in[1]);
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const std::string cpu = std::to_string(limits.cpuSeconds), memory = std::to_string(limits.memoryMiB);
        const char* argv[] = {program.c_str(), "--cpu", cpu.c_str(), "--memory", memory.c_str(), nullptr};
        const int rc =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        toWorker = in[1];
        fromWorker = out[0];
        pending.clear();
        if (rc != 0) {
            pid = -1;
            stop();
            return false;
        }
        return true;
    }

    void stop() {
        if (toWorker >= 0) close(toWorker);
        if (fromWorker >= 0) close(fromWorker);
        toWorker = fromWorker = -1;
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }

    bool send(const std::string& recording) {
        const std::size_t n = recording.size();
        std::string frame = {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                             static_cast<char>(n >> 24)};
        frame += recording;
        const char* at = frame.data();
        std::size_t left = frame.size();
        while (left > 0) {
            const ssize_t w = write(toWorker, at, left);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            at += w;
            left -= static_cast<std::size_t>(w);
        }
        return true;
    }

    // One answer line, unless the worker ends or `deadline` passes first.
    bool receive(std::chrono::steady_clock::time_point deadline, std::string* line) {
        for (;;) {
            const std::size_t end = pending.find('\n');
            if (end != std::string::npos) {
                *line = pending.substr(0, end);
                pending.erase(0, end + 1);
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd p{fromWorker, POLLIN, 0};
            const int ready = poll(&p, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return false;
            char buffer[4096];
            const ssize_t n = read(fromWorker, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            pending.append(buffer, static_cast<std::size_t>(n));
            if (pending.size() > 1u << 20) return false;  // no answer is that long
        }
    }
};

VerifierPool::VerifierPool(std::string program, const PoolLimits& limits)
    : program_(std::move(program)), limits_(limits) {
    for (int i = 0; i < limits_.workers; ++i) threads_.emplace_back(&VerifierPool::run, this, i);
}

VerifierPool::~VerifierPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& t : threads_) t.join();
}

std::optional<std::future<Verdict>> VerifierPool::submit(std::string recording) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.size() >= limits_.queue) return std::nullopt;
    jobs_.push_back(Job{std::move(recording), {}});
    std::future<Verdict> answer = jobs_.back().answer.get_future();
    ready_.notify_one();
    return answer;
}

std::size_t VerifierPool::queued() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return jobs_.size();
}

void VerifierPool::run(int) {
    Worker worker;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (stopping_) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job.answer.set_value(play(worker, job.recording));
    }
    worker.stop();
    // Anyone still waiting hears that the service is going away.
    std::lock_guard<std::mutex> lock(mutex_);
    for (Job& left : jobs_)
        left.answer.set_value(Verdict::failure(Verdict::Unavailable, "the service is stopping"));
    jobs_.clear();
}

Verdict VerifierPool::play(Worker& worker, const std::string& recording) {
    if (worker.pid < 0 && !worker.start(program_, limits_)) {
        return Verdict::failure(Verdict::Unavailable, "the verifier cannot be started");
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits_.wallSeconds);
    std::string line;
    Verdict verdict;
    if (worker.send(recording) && worker.receive(deadline, &line) && decodeVerdict(line, &verdict))
        return verdict;
    // Ended, killed by a limit, or silent past the deadline: the recording cost what it may, no more.
    int status = 0;
    if (worker.pid > 0) {
        kill(worker.pid, SIGKILL);  // a worker that already ended keeps its own exit status
        waitpid(worker.pid, &status, 0);
        worker.pid = -1;
    }
    worker.stop();
    ++restarts_;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
        return Verdict::failure(Verdict::Unavailable, "the verifier cannot load the game");
    }
    return Verdict::failure(Verdict::Refused, "the recording cannot be verified within the server's limits");
}

}  // namespace scores
