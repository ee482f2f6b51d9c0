// The table's storage: one small interface, kept by SQLite in a folder or by a PostgreSQL database
// that any number of servers share. Every call either completes or throws StoreUnavailable, and
// leaves the store as it was when it throws.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace scores {

// The store cannot be reached or written (a database down, a full disk): the request gets 503.
struct StoreUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kDifficulties = 3;  // 0 easy, 1 medium, 2 hard

// What verification produced, with the name that came with the submission.
struct NewEntry {
    std::string sha256;  // of the recording, in hex: the key that makes a recording one entry
    std::int32_t difficulty = 0, score = 0, level = 0, lives = 0;
    std::uint32_t frames = 0;
    std::string name;
    std::string line;
};

struct Entry : NewEntry {
    std::int64_t id = 0;
    std::int64_t submitted = 0;  // seconds since 1970, by the store's clock
    bool hidden = false;
    std::int64_t rank = 0;  // in its difficulty's table; 0 while hidden
};

struct Page {
    std::int64_t total = 0;  // entries shown in that difficulty's table
    std::vector<Entry> entries;
};

class Store {
  public:
    virtual ~Store() = default;
    // Adds the entry with its recording, unless one with the same hash is there; either way `*entry`
    // is the stored one. True when this call added it (committed before it returns).
    virtual bool add(const NewEntry& fresh, const std::string& recording, Entry* entry) = 0;
    virtual bool find(std::int64_t id, Entry* entry) = 0;  // false: no such entry
    virtual bool recording(std::int64_t id, std::string* bytes) = 0;
    // Visible entries of one difficulty by rank: score, then fewer frames, then earlier submission.
    virtual Page top(int difficulty, int limit, std::int64_t offset) = 0;
    virtual bool setHidden(std::int64_t id, bool hidden) = 0;  // false: no such entry
    // Every entry, hidden ones too, with its recording, in id order.
    virtual void forEach(const std::function<void(const Entry&, const std::string&)>& visit) = 0;
};

// Opens (creating and migrating as needed) the SQLite table in `folder`.
std::unique_ptr<Store> openSqliteStore(const std::string& folder);
// Connects to a PostgreSQL database by its URL (postgresql://...), migrating it as needed.
std::unique_ptr<Store> openPostgresStore(const std::string& url, int connections);

// "easy", "medium", "hard" (null past them), and back (-1 for any other name).
const char* difficultyName(int difficulty);
int difficultyFromName(const std::string& name);

}  // namespace scores
