// korvex-scores-verifier: one worker of the score service's pool. It loads the game once, then
// plays one recording after another from its standard input (a 4-byte little-endian length, then
// the bytes) and answers each with one verdict line on its standard output. After start-up it opens
// no file and starts no program (a seccomp filter, where the kernel has one), and each recording runs
// under a processor-time limit; its address space is bounded. Hitting a limit ends the process: the
// server starts another.
#include <seccomp.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "replay/qualify.h"
#include "replay/verify.h"
#include "verdict.h"

namespace {

constexpr int kWorkerNice = 10;

bool readAll(void* buffer, std::size_t size) {
    char* at = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = read(STDIN_FILENO, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(const std::string& text) {
    const char* at = text.data();
    std::size_t size = text.size();
    while (size > 0) {
        const ssize_t n = write(STDOUT_FILENO, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// No file opened, created, changed or removed, no program started, no network, from here on.
bool closeTheWorld() {
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    if (!filter) return false;
    const int refused[] = {
        SCMP_SYS(open),      SCMP_SYS(openat),   SCMP_SYS(creat),   SCMP_SYS(truncate),
        SCMP_SYS(unlink),    SCMP_SYS(unlinkat), SCMP_SYS(rename),  SCMP_SYS(renameat),
        SCMP_SYS(renameat2), SCMP_SYS(mkdir),    SCMP_SYS(mkdirat), SCMP_SYS(rmdir),
        SCMP_SYS(link),      SCMP_SYS(linkat),   SCMP_SYS(symlink), SCMP_SYS(symlinkat),
        SCMP_SYS(chmod),     SCMP_SYS(fchmodat), SCMP_SYS(socket),  SCMP_SYS(connect),
        SCMP_SYS(bind),      SCMP_SYS(ptrace),   SCMP_SYS(openat2), SCMP_SYS(open_by_handle_at)};
    const int killing[] = {SCMP_SYS(execve), SCMP_SYS(execveat), SCMP_SYS(fork), SCMP_SYS(vfork)};
    bool ok = true;
    for (int call : refused) ok = ok && seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), call, 0) == 0;
    for (int call : killing) ok = ok && seccomp_rule_add(filter, SCMP_ACT_KILL_PROCESS, call, 0) == 0;
    ok = ok && seccomp_load(filter) == 0;
    seccomp_release(filter);
    return ok;
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The next recording may use `seconds` of processor time beyond what the worker has used: the kernel
// ends the process past them (SIGXCPU, then SIGKILL at the hard limit a second later).
void limitProcessor(long seconds) {
    const auto used = static_cast<rlim_t>(processorSeconds());
    rlimit limit{used + static_cast<rlim_t>(seconds), used + static_cast<rlim_t>(seconds) + 1};
    setrlimit(RLIMIT_CPU, &limit);
}

scores::Verdict judge(const std::string& bytes) {
    scores::Verdict v;
    const replay::VerifyOutcome outcome = replay::verifyRecording(bytes);
    replay::Replay recording;
    std::string error;
    const bool decoded = replay::decodeReplay(bytes, &recording, &error);
    v.reason = decoded ? replay::qualifyRefusal(recording, outcome) : error;
    if (!outcome.refusal.empty()) v.reason = outcome.refusal;
    v.kind = v.reason.empty() ? scores::Verdict::Entered : scores::Verdict::Refused;
    v.difficulty = outcome.difficulty;
    v.score = outcome.score;
    v.level = outcome.level;
    v.lives = outcome.lives;
    v.frames = outcome.frames;
    v.line = outcome.line;
    return v;
}

long numberArgument(int argc, char** argv, const char* name, long fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == name) return std::strtol(argv[i + 1], nullptr, 10);
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const long cpuSeconds = numberArgument(argc, argv, "--cpu", 30);
    const long memoryMiB = numberArgument(argc, argv, "--memory", 1024);
    // Verifying is batch work: the server's readers go first on the same cores.
    setpriority(PRIO_PROCESS, 0, kWorkerNice);
    std::string error;
    if (!replay::prepareVerifier(&error)) {
        std::fprintf(stderr, "korvex-scores-verifier: %s\n", error.c_str());
        return 3;
    }
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer reserves terabytes of address space for itself
    rlimit memory{static_cast<rlim_t>(memoryMiB) << 20, static_cast<rlim_t>(memoryMiB) << 20};
    if (setrlimit(RLIMIT_AS, &memory) != 0) std::perror("korvex-scores-verifier: memory limit");
#else
    (void)memoryMiB;
#endif
    if (!closeTheWorld()) std::fprintf(stderr, "korvex-scores-verifier: no seccomp filter on this system\n");
    for (;;) {
        unsigned char size[4];
        if (!readAll(size, sizeof size)) return 0;  // the server closed the pipe
        const std::size_t length = size[0] | size[1] << 8 | size[2] << 16 | std::size_t{size[3]} << 24;
        if (length > scores::kMaxRecording) return 4;
        std::string bytes(length, '\0');
        if (!readAll(&bytes[0], length)) return 0;
        limitProcessor(cpuSeconds);
        const auto start = std::chrono::steady_clock::now();
        scores::Verdict v = judge(bytes);
        v.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!writeAll(scores::encodeVerdict(v))) return 0;
    }
}
