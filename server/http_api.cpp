// The API's handlers. Each validates its request before it acts and answers with the contract's
// codes; a 201 goes out only after the store committed the entry.
#include <httplib.h>
#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "persist/key_table.h"
#include "service.h"

namespace scores {

namespace {

constexpr std::size_t kMaxName = 10;
constexpr int kMaxLimit = 100;
constexpr int kRetryQueueSeconds = 5;
constexpr int kRetryStoreSeconds = 10;

using nlohmann::json;

void answer(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& why) {
    answer(res, status, json{{"error", why}});
}

void unavailable(httplib::Response& res, int retrySeconds, const std::string& why) {
    res.set_header("Retry-After", std::to_string(retrySeconds));
    refuse(res, 503, why);
}

std::string sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

json entryJson(const Entry& e) {
    return json{{"id", e.id},
                {"difficulty", difficultyName(e.difficulty)},
                {"score", e.score},
                {"level", e.level},
                {"lives", e.lives},
                {"frames", e.frames},
                {"name", e.name},
                {"rank", e.hidden ? json(nullptr) : json(e.rank)},
                {"submitted", isoTime(e.submitted)},
                {"line", e.line}};
}

// A whole number in [low, high] from a query parameter, or `fallback` when it is absent.
bool numberParam(const httplib::Request& req, const char* key, std::int64_t low, std::int64_t high,
                 std::int64_t fallback, std::int64_t* value) {
    if (!req.has_param(key)) return *value = fallback, true;
    const std::string text = req.get_param_value(key);
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
    *value = std::stoll(text);
    return *value >= low && *value <= high;
}

// The ID in /api/v1/games/ID: digits only, no leading zero.
bool entryId(const std::string& text, std::int64_t* id) {
    if (text.empty() || text.size() > 18 || text[0] == '0') return false;
    *id = std::stoll(text);
    return true;
}

// Table pages as sent, for a moment: readers far outnumber writers. An entry this process adds
// drops them at once; what other processes change (another server, hide) shows within kFresh.
class PageCache {
  public:
    bool find(const std::string& key, std::string* body) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = pages_.find(key);
        if (found == pages_.end() || std::chrono::steady_clock::now() - found->second.made > kFresh)
            return false;
        *body = found->second.body;
        return true;
    }
    void keep(const std::string& key, const std::string& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pages_.size() >= kPages) pages_.clear();
        pages_[key] = Cached{std::chrono::steady_clock::now(), body};
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_.clear();
    }

  private:
    static constexpr std::chrono::milliseconds kFresh{1000};
    static constexpr std::size_t kPages = 256;
    struct Cached {
        std::chrono::steady_clock::time_point made;
        std::string body;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Cached> pages_;
};
PageCache pageCache;

void submit(ServiceParts& p, const httplib::Request& req, httplib::Response& res) {
    const std::string name = req.get_param_value("name");
    if (!validName(name)) {
        p.metrics.count(Outcome::BadName);
        return refuse(res, 400, "the name must be 1 to 10 characters the game's keyboard can type");
    }
    const std::string address =
        clientAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"), p.trustedProxies);
    if (const int wait = p.rateLimit.wait(address)) {
        p.metrics.count(Outcome::RateLimited);
        res.set_header("Retry-After", std::to_string(wait));
        return refuse(res, 429, "too many games sent from here: try again in " + std::to_string(wait) + " s");
    }
    if (req.body.empty()) return refuse(res, 400, "no recording was sent");
    std::optional<std::future<Verdict>> pending = p.pool.submit(req.body);
    if (!pending) {
        p.metrics.count(Outcome::QueueFull);
        return unavailable(res, kRetryQueueSeconds,
                           "the server is busy verifying other games: try again soon");
    }
    const Verdict verdict = pending->get();
    if (verdict.kind == Verdict::Unavailable) {
        p.metrics.count(Outcome::QueueFull);
        return unavailable(res, kRetryQueueSeconds, verdict.reason);
    }
    p.metrics.verified(verdict.seconds);
    if (verdict.kind == Verdict::Refused) {
        p.metrics.count(Outcome::Refused);
        return refuse(res, 422, verdict.reason);
    }
    NewEntry fresh;
    fresh.sha256 = sha256Hex(req.body);
    fresh.difficulty = verdict.difficulty;
    fresh.score = verdict.score;
    fresh.level = verdict.level;
    fresh.lives = verdict.lives;
    fresh.frames = verdict.frames;
    fresh.name = name;
    fresh.line = verdict.line;
    Entry entry;
    try {
        const bool added = p.store.add(fresh, req.body, &entry);
        if (added) pageCache.clear();
        p.metrics.count(added ? Outcome::Entered : Outcome::Duplicate);
        answer(res, added ? 201 : 200, entryJson(entry));
    } catch (const StoreUnavailable&) {
        p.metrics.storeError();
        p.metrics.count(Outcome::StoreUnavailable);
        unavailable(res, kRetryStoreSeconds, "the table cannot be written just now: try again later");
    }
}

void table(ServiceParts& p, const httplib::Request& req, httplib::Response& res) {
    const int difficulty = difficultyFromName(req.get_param_value("difficulty"));
    std::int64_t limit = 0, offset = 0;
    if (difficulty < 0) return refuse(res, 400, "difficulty must be easy, medium or hard");
    if (!numberParam(req, "limit", 1, kMaxLimit, kMaxLimit, &limit))
        return refuse(res, 400, "limit must be 1 to 100");
    if (!numberParam(req, "offset", 0, INT32_MAX, 0, &offset))
        return refuse(res, 400, "offset must be 0 or more");
    const std::string key =
        std::to_string(difficulty) + "/" + std::to_string(limit) + "/" + std::to_string(offset);
    std::string body;
    if (pageCache.find(key, &body)) return res.set_content(body, "application/json");
    const Page page = p.store.top(difficulty, static_cast<int>(limit), offset);
    json entries = json::array();
    for (const Entry& e : page.entries) {
        entries.push_back({{"rank", e.rank},
                           {"id", e.id},
                           {"name", e.name},
                           {"score", e.score},
                           {"level", e.level},
                           {"frames", e.frames},
                           {"submitted", isoTime(e.submitted)}});
    }
    answer(res, 200,
           json{{"difficulty", difficultyName(difficulty)}, {"total", page.total}, {"entries", entries}});
    pageCache.keep(key, res.body);
}

// A hidden entry is not in the table; to anyone asking, it is not there at all.
bool visibleEntry(ServiceParts& p, const httplib::Request& req, httplib::Response& res, Entry* entry) {
    std::int64_t id = 0;
    if (!entryId(req.matches[1], &id) || !p.store.find(id, entry) || entry->hidden) {
        refuse(res, 404, "no such entry");
        return false;
    }
    return true;
}

// Store failures on reading routes: 503, counted.
template <typename Handler>
httplib::Server::Handler guarded(ServiceParts& p, Handler handler) {
    return [&p, handler](const httplib::Request& req, httplib::Response& res) {
        try {
            handler(p, req, res);
        } catch (const StoreUnavailable&) {
            p.metrics.storeError();
            unavailable(res, kRetryStoreSeconds, "the table is not available just now");
        }
    };
}

}  // namespace

bool validName(const std::string& name) {
    if (name.empty() || name.size() > kMaxName) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::any_of(std::begin(kKeys), std::end(kKeys), [c](const Key& k) {
            return k.smallCase >= ' ' && (k.smallCase == static_cast<unsigned char>(c) ||
                                          k.largeCase == static_cast<unsigned char>(c));
        });
    });
}

std::string clientAddress(const std::string& peer, const std::string& forwardedFor,
                          const std::vector<std::string>& trustedProxies) {
    auto trusted = [&](const std::string& a) {
        return std::find(trustedProxies.begin(), trustedProxies.end(), a) != trustedProxies.end();
    };
    if (!trusted(peer)) return peer;
    // Each proxy appends the address it heard from: the last one not ours is the client.
    std::string address = peer;
    std::size_t end = forwardedFor.size();
    while (end > 0) {
        const std::size_t comma = forwardedFor.rfind(',', end - 1);
        const std::size_t begin = comma == std::string::npos ? 0 : comma + 1;
        std::string hop = forwardedFor.substr(begin, end - begin);
        hop.erase(0, hop.find_first_not_of(' '));
        hop.erase(hop.find_last_not_of(' ') + 1);
        if (hop.empty()) break;
        address = hop;
        if (!trusted(hop)) break;
        end = comma == std::string::npos ? 0 : comma;
    }
    return address;
}

std::string isoTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

void addApiRoutes(httplib::Server& server, ServiceParts& parts) {
    ServiceParts* p = &parts;
    server.Post("/api/v1/games",
                [p](const httplib::Request& req, httplib::Response& res) { submit(*p, req, res); });
    server.Get("/api/v1/scores", guarded(parts, table));
    server.Get(R"(/api/v1/games/([0-9]+))",
               guarded(parts, [](ServiceParts& s, const httplib::Request& req, httplib::Response& res) {
                   Entry entry;
                   if (visibleEntry(s, req, res, &entry)) answer(res, 200, entryJson(entry));
               }));
    server.Get(R"(/api/v1/games/([0-9]+)/recording)",
               guarded(parts, [](ServiceParts& s, const httplib::Request& req, httplib::Response& res) {
                   Entry entry;
                   std::string bytes;
                   if (!visibleEntry(s, req, res, &entry)) return;
                   if (!s.store.recording(entry.id, &bytes)) return refuse(res, 404, "no such entry");
                   res.set_header("Content-Disposition",
                                  "attachment; filename=\"korvex-" + std::to_string(entry.id) + ".kvr\"");
                   res.set_content(bytes, "application/octet-stream");
               }));
    server.Get("/scores",
               guarded(parts, [](ServiceParts& s, const httplib::Request&, httplib::Response& res) {
                   res.set_header("Cache-Control", "no-cache");
                   res.set_content(scoresPage(s.store), "text/html; charset=utf-8");
               }));
    server.Get("/scores.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kScoresStyle, "text/css; charset=utf-8");
    });
    server.Get("/healthz",
               guarded(parts, [](ServiceParts& s, const httplib::Request&, httplib::Response& res) {
                   s.store.top(0, 1, 0);  // the store answers
                   res.set_content("ok\n", "text/plain");
               }));
    server.Get("/metrics", [p](const httplib::Request&, httplib::Response& res) {
        res.set_content(p->metrics.render(p->pool.queued(), p->pool.restarts()), "text/plain; version=0.0.4");
    });
    // The library refuses a body past the limit before any handler; the answer says why.
    server.set_error_handler([p](const httplib::Request&, httplib::Response& res) {
        if (res.status != 413) return;
        p->metrics.count(Outcome::TooLarge);
        refuse(res, 413, "the recording is larger than 1 MiB");
    });
    // Anything else under the API is not there, whatever the site holds.
    server.Get(R"(/api/.*)",
               [](const httplib::Request&, httplib::Response& res) { refuse(res, 404, "no such API"); });
}

void addSecurityHeaders(httplib::Server& server) {
    server.set_default_headers({
        {"Content-Security-Policy",
         "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data: "
         "blob:;"
         " media-src 'self' blob:; connect-src 'self'; worker-src 'self'; object-src 'none'; base-uri 'none';"
         " frame-ancestors 'none'; form-action 'self'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
    });
}

}  // namespace scores
