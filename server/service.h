// The score service's HTTP side: the API, the /scores page, health and metrics, and the static site.
#pragma once

#include <string>
#include <vector>

#include "metrics.h"
#include "rate_limit.h"
#include "store.h"
#include "verifier_pool.h"

namespace httplib {
class Server;
}

namespace scores {

struct ServiceParts {
    Store& store;
    VerifierPool& pool;
    RateLimit& rateLimit;
    Metrics& metrics;
    std::vector<std::string> trustedProxies;  // addresses whose X-Forwarded-For is believed
    std::string siteDir;                      // empty: no static site
};

// The routes onto `server`; `parts` must outlive it.
void addApiRoutes(httplib::Server& server, ServiceParts& parts);
// The static site below `dir` at /, for whatever no other route took.
void addSiteRoutes(httplib::Server& server, const std::string& dir);
// The headers every answer carries: a strict content policy and no sniffing.
void addSecurityHeaders(httplib::Server& server);

// The /scores page: the three tables, names escaped.
std::string scoresPage(Store& store);
extern const char* const kScoresStyle;

// Text made safe inside HTML, in elements and in quoted attributes.
std::string escapeHtml(const std::string& text);
// 1 to 10 characters the game's on-screen keyboard can type.
bool validName(const std::string& name);
// The client's address: the peer's, or from X-Forwarded-For when the peer is a trusted proxy.
std::string clientAddress(const std::string& peer, const std::string& forwardedFor,
                          const std::vector<std::string>& trustedProxies);
// "2026-12-09T05:33:00Z"
std::string isoTime(std::int64_t seconds);

}  // namespace scores
