// korvex-scores: the public score table, where every entry is a recorded game the server verified.
#include <httplib.h>
#include <malloc.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "service.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvex-scores serve [--listen HOST:PORT] [--data DIR | --database postgresql://...] [--site "
    "DIR]\n"
    "                           [--workers N] [--rate N] [--queue N] [--limit-seconds N]\n"
    "                           [--trusted-proxy ADDRESS]...\n"
    "       korvex-scores hide ID | unhide ID   [--data DIR | --database URL]\n"
    "       korvex-scores check                 [--data DIR | --database URL] [--workers N]\n"
    "       korvex-scores --help | --version\n"
    "\n"
    "serve    runs the service (default --listen 127.0.0.1:8090, --workers the number of cores,\n"
    "         --rate 30 submissions a minute from one address, --queue 64 recordings waiting)\n"
    "hide     takes an entry out of the table (its recording stays); unhide puts it back\n"
    "check    verifies every stored recording again with the current rules and reports differences\n"
    "--data   the folder of the SQLite table (default $STATE_DIRECTORY, else ./korvex-scores-data/)\n"
    "--database  a PostgreSQL database instead, which any number of servers may share\n"
    "--site   also serves this folder (the web build) at /\n"
    "--limit-seconds  processor time one verification may take (default 30; wall-clock: twice that)\n"
    "--trusted-proxy  believe X-Forwarded-For from this address (repeatable)\n";

constexpr int kListenBacklog = 1024;

struct Command {
    std::string name;
    std::string id;
    std::string host = "127.0.0.1";
    int port = 8090;
    std::string data, database, site, verifier;
    int workers = 0;
    int rate = 30;
    int queue = 64;
    int limitSeconds = 30;
    std::vector<std::string> trustedProxies;
};

bool number(const std::string& text, int low, int high, int* value) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

// Returns an error, or "" when `argv` is a command.
std::string parse(int argc, char** argv, Command* c) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return "no command given";
    c->name = args[0];
    if (c->name == "--help" || c->name == "--version") return args.size() == 1 ? "" : "too many arguments";
    if (c->name != "serve" && c->name != "hide" && c->name != "unhide" && c->name != "check") {
        return "unknown command '" + c->name + "'";
    }
    std::size_t i = 1;
    if (c->name == "hide" || c->name == "unhide") {
        if (args.size() < 2 || args[1].empty() || args[1][0] == '-') return c->name + " needs the entry's ID";
        int id = 0;
        if (!number(args[1], 1, INT_MAX, &id)) return "'" + args[1] + "' is not an entry's ID";
        c->id = args[1];
        i = 2;
    }
    const bool serving = c->name == "serve";
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : "";
        auto needs = [&](bool allowed) {
            return !allowed ? a + " does not go with " + c->name : hasValue ? "" : a + " needs a value";
        };
        std::string error;
        if (a == "--data" || a == "--database") {
            error = needs(true);
            (a == "--data" ? c->data : c->database) = value;
        } else if (a == "--listen") {
            error = needs(serving);
            const std::size_t colon = value.rfind(':');
            if (error.empty() && (colon == std::string::npos || colon == 0 ||
                                  !number(value.substr(colon + 1), 1, 65535, &c->port))) {
                error = "--listen wants HOST:PORT, not '" + value + "'";
            }
            if (error.empty()) c->host = value.substr(0, colon);
        } else if (a == "--site") {
            error = needs(serving);
            c->site = value;
        } else if (a == "--verifier") {
            error = needs(serving || c->name == "check");
            c->verifier = value;
        } else if (a == "--trusted-proxy") {
            error = needs(serving);
            c->trustedProxies.push_back(value);
        } else if (a == "--workers" || a == "--rate" || a == "--queue" || a == "--limit-seconds") {
            error = needs(serving || (a != "--rate" && a != "--queue" && c->name == "check"));
            int* target = a == "--workers" ? &c->workers
                          : a == "--rate"  ? &c->rate
                          : a == "--queue" ? &c->queue
                                           : &c->limitSeconds;
            const int least = a == "--rate" || a == "--limit-seconds" ? 0 : 1;  // 0: no limit / no time
            if (error.empty() && !number(value, least, 10000, target)) {
                error = a + " wants a whole number, not '" + value + "'";
            }
        } else {
            return "unknown option '" + a + "'";
        }
        if (!error.empty()) return error;
        ++i;
    }
    if (!c->data.empty() && !c->database.empty()) return "--data and --database do not go together";
    if (c->workers == 0) c->workers = std::max(1u, std::thread::hardware_concurrency());
    return "";
}

std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "./";
    const std::string self(path, static_cast<std::size_t>(n));
    return self.substr(0, self.rfind('/') + 1);
}

// Beside this program in a build, else in libexec/ beside its bin/ where it is installed.
std::string verifierProgram(const Command& c) {
    if (!c.verifier.empty()) return c.verifier;
    const std::string folder = programFolder();
    const std::string beside = folder + "korvex-scores-verifier";
    if (access(beside.c_str(), X_OK) == 0) return beside;
    const std::size_t parent = folder.rfind('/', folder.size() - 2);
    return (parent == std::string::npos ? folder : folder.substr(0, parent + 1)) +
           "libexec/korvex-scores-verifier";
}

std::unique_ptr<scores::Store> openStore(const Command& c, int connections) {
    if (!c.database.empty()) return scores::openPostgresStore(c.database, connections);
    std::string folder = c.data;
    if (folder.empty()) {
        const char* state = std::getenv("STATE_DIRECTORY");
        folder = state && *state ? std::string(state) : "korvex-scores-data";
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw scores::StoreUnavailable("cannot make the folder " + folder + ": " + std::strerror(errno));
    }
    return scores::openSqliteStore(folder);
}

int serve(const Command& c) {
    // SIGTERM and SIGINT end the service in order; workers' pipes closing must not end it.
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // Request threads mostly wait; one malloc arena each would cost the service its small size.
    mallopt(M_ARENA_MAX, 2);
    std::unique_ptr<scores::Store> store = openStore(c, c.workers + 8);
    scores::PoolLimits limits;
    limits.workers = c.workers;
    limits.queue = static_cast<std::size_t>(c.queue);
    limits.cpuSeconds = c.limitSeconds;
    limits.wallSeconds = 2L * c.limitSeconds;
    scores::VerifierPool pool(verifierProgram(c), limits);
    scores::RateLimit rateLimit(c.rate);
    scores::Metrics metrics;
    scores::ServiceParts parts{*store, pool, rateLimit, metrics, c.trustedProxies, c.site};

    httplib::Server server;
    // Submissions wait for their verification, so the threads must outnumber the waiting ones.
    const std::size_t threads = static_cast<std::size_t>(c.workers) + static_cast<std::size_t>(c.queue) + 32;
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    server.set_payload_max_length(scores::kMaxRecording);
    server.set_keep_alive_max_count(1000);
    // The library listens with a backlog of 5, too few for a burst of readers: the socket is kept
    // here, and listened on again with room for them once bound.
    int listening = -1;
    server.set_socket_options([&listening](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = socket;
    });
    server.set_read_timeout(10, 0);
    server.set_write_timeout(10, 0);
    scores::addSecurityHeaders(server);
    scores::addApiRoutes(server, parts);
    if (!c.site.empty()) scores::addSiteRoutes(server, c.site);

    std::atomic<bool> ended{false};
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopping, &signal);
        // A stop asked for before the server runs would be lost: it is asked again until it ends.
        while (!ended) {
            server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    auto finish = [&](int code) {
        ended = true;
        kill(getpid(), SIGTERM);  // the stopper may still wait for a signal
        stopper.join();
        return code;
    };
    if (!server.bind_to_port(c.host.c_str(), c.port)) {
        std::fprintf(stderr, "korvex-scores: cannot listen on %s:%d\n", c.host.c_str(), c.port);
        return finish(1);
    }
    if (listening >= 0) listen(listening, kListenBacklog);
    std::printf("korvex-scores: serving on http://%s:%d/\n", c.host.c_str(), c.port);
    std::fflush(stdout);
    server.listen_after_bind();
    return finish(0);
}

// Every stored recording again, under the rules this build plays.
int check(const Command& c) {
    std::unique_ptr<scores::Store> store = openStore(c, 2);
    scores::PoolLimits limits;
    limits.workers = c.workers;
    limits.queue = SIZE_MAX;
    limits.cpuSeconds = c.limitSeconds;
    limits.wallSeconds = 2L * c.limitSeconds;
    scores::VerifierPool pool(verifierProgram(c), limits);
    struct Pending {
        scores::Entry entry;
        std::future<scores::Verdict> verdict;
    };
    std::vector<Pending> pending;
    store->forEach([&](const scores::Entry& e, const std::string& bytes) {
        pending.push_back({e, std::move(*pool.submit(bytes))});
    });
    int differences = 0;
    for (Pending& p : pending) {
        const scores::Verdict v = p.verdict.get();
        const bool same = v.kind == scores::Verdict::Entered && v.line == p.entry.line &&
                          v.difficulty == p.entry.difficulty;
        if (same) continue;
        ++differences;
        std::printf("entry %lld (%s): stored \"%s\", now %s\n", static_cast<long long>(p.entry.id),
                    p.entry.name.c_str(), p.entry.line.c_str(),
                    v.kind == scores::Verdict::Entered ? ("\"" + v.line + "\"").c_str()
                                                       : ("refused: " + v.reason).c_str());
    }
    std::printf("korvex-scores: %zu recordings checked, %d differ\n", pending.size(), differences);
    return differences == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Command c;
    const std::string error = parse(argc, argv, &c);
    if (!error.empty()) {
        std::fprintf(stderr, "korvex-scores: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (c.name == "--help") return std::fputs(kUsage, stdout), 0;
    if (c.name == "--version") return std::printf("korvex-scores %s\n", KORVEX_VERSION), 0;
    try {
        if (c.name == "serve") return serve(c);
        if (c.name == "check") return check(c);
        std::unique_ptr<scores::Store> store = openStore(c, 1);
        if (!store->setHidden(std::stoll(c.id), c.name == "hide")) {
            std::fprintf(stderr, "korvex-scores: there is no entry %s\n", c.id.c_str());
            return 1;
        }
        std::printf("korvex-scores: entry %s %s\n", c.id.c_str(),
                    c.name == "hide" ? "hidden" : "shown again");
        return 0;
    } catch (const scores::StoreUnavailable& e) {
        std::fprintf(stderr, "korvex-scores: %s\n", e.what());
        return 1;
    }
}
