// The table in one SQLite file: write-ahead log, every commit synced (synchronous=FULL), the schema's
// version in user_version. A small pool of connections lets readers run beside a writer.
#include <sqlite3.h>

#include <condition_variable>
#include <ctime>
#include <mutex>

#include "store.h"

namespace scores {

namespace {

constexpr const char* kFileName = "scores.sqlite";
constexpr int kConnections = 4;
constexpr int kBusyMs = 5000;  // a writer waits so long for another before the request gets 503

// Each step takes the schema one version further; a step is never changed once released.
const char* const kMigrations[] = {
    "CREATE TABLE entries (id INTEGER PRIMARY KEY, sha256 TEXT NOT NULL UNIQUE,"
    " difficulty INTEGER NOT NULL, score INTEGER NOT NULL, level INTEGER NOT NULL, lives INTEGER NOT NULL,"
    " frames INTEGER NOT NULL, name TEXT NOT NULL, line TEXT NOT NULL, submitted INTEGER NOT NULL,"
    " hidden INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX entries_rank ON entries (difficulty, hidden, score DESC, frames, submitted, id);"
    "CREATE TABLE recordings (id INTEGER PRIMARY KEY REFERENCES entries (id), bytes BLOB NOT NULL);",
};

constexpr const char* kColumns =
    "id, sha256, difficulty, score, level, lives, frames, name, line, submitted, hidden";

// Entries ahead of one in its table: the ranking order written out.
constexpr const char* kAhead =
    "SELECT COUNT(*) FROM entries WHERE difficulty = ?1 AND hidden = 0 AND (score > ?2 OR (score = ?2 AND"
    " (frames < ?3 OR (frames = ?3 AND (submitted < ?4 OR (submitted = ?4 AND id < ?5))))))";

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        check(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int i, std::int64_t v) { return check(sqlite3_bind_int64(stmt_, i, v)), *this; }
    Statement& bind(int i, const std::string& v) {
        return check(sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT)),
               *this;
    }
    Statement& bindBlob(int i, const std::string& v) {
        return check(sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT)),
               *this;
    }
    bool step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) check(rc);
        return false;
    }
    std::int64_t integer(int i) const { return sqlite3_column_int64(stmt_, i); }
    std::string text(int i) const {
        const void* p = sqlite3_column_blob(stmt_, i);
        return p ? std::string(static_cast<const char*>(p),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)))
                 : std::string();
    }
    Entry entry() const {
        Entry e;
        e.id = integer(0);
        e.sha256 = text(1);
        e.difficulty = static_cast<std::int32_t>(integer(2));
        e.score = static_cast<std::int32_t>(integer(3));
        e.level = static_cast<std::int32_t>(integer(4));
        e.lives = static_cast<std::int32_t>(integer(5));
        e.frames = static_cast<std::uint32_t>(integer(6));
        e.name = text(7);
        e.line = text(8);
        e.submitted = integer(9);
        e.hidden = integer(10) != 0;
        return e;
    }

  private:
    void check(int rc) const {
        if (rc != SQLITE_OK) throw StoreUnavailable(std::string("SQLite: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw StoreUnavailable("SQLite: " + text);
    }
}

// A transaction that rolls back unless committed.
class Transaction {
  public:
    Transaction(sqlite3* db, const char* begin) : db_(db) { exec(db, begin); }
    ~Transaction() {
        if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit() {
        exec(db_, "COMMIT");
        done_ = true;
    }

  private:
    sqlite3* db_;
    bool done_ = false;
};

class SqliteStore : public Store {
  public:
    explicit SqliteStore(const std::string& folder) {
        const std::string path = folder + "/" + kFileName;
        for (int i = 0; i < kConnections; ++i) {
            sqlite3* db = nullptr;
            const int rc =
                sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            free_.push_back(db);
            if (rc != SQLITE_OK) throw StoreUnavailable("cannot open " + path + ": " + sqlite3_errmsg(db));
            sqlite3_busy_timeout(db, kBusyMs);
            exec(db,
                 "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON; PRAGMA "
                 "cache_size=-1024");
        }
        migrate(free_.front());
    }
    ~SqliteStore() override {
        for (sqlite3* db : free_) sqlite3_close(db);
    }

    bool add(const NewEntry& fresh, const std::string& recording, Entry* entry) override {
        Lease db(*this);
        Transaction t(db, "BEGIN IMMEDIATE");
        Statement insert(
            db,
            "INSERT INTO entries (sha256, difficulty, score, level, lives, frames, name, line, submitted)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (sha256) DO NOTHING");
        insert.bind(1, fresh.sha256).bind(2, fresh.difficulty).bind(3, fresh.score).bind(4, fresh.level);
        insert.bind(5, fresh.lives).bind(6, fresh.frames).bind(7, fresh.name).bind(8, fresh.line);
        insert.bind(9, static_cast<std::int64_t>(std::time(nullptr))).step();
        const bool added = sqlite3_changes(db) > 0;
        if (added) {
            Statement keep(db, "INSERT INTO recordings (id, bytes) VALUES (?, ?)");
            keep.bind(1, sqlite3_last_insert_rowid(db)).bindBlob(2, recording).step();
        }
        t.commit();
        Statement select(db, (std::string("SELECT ") + kColumns + " FROM entries WHERE sha256 = ?").c_str());
        select.bind(1, fresh.sha256);
        if (!select.step()) throw StoreUnavailable("SQLite: the entry just written cannot be read");
        *entry = ranked(db, select.entry());
        return added;
    }

    bool find(std::int64_t id, Entry* entry) override {
        Lease db(*this);
        Statement select(db, (std::string("SELECT ") + kColumns + " FROM entries WHERE id = ?").c_str());
        select.bind(1, id);
        if (!select.step()) return false;
        *entry = ranked(db, select.entry());
        return true;
    }

    bool recording(std::int64_t id, std::string* bytes) override {
        Lease db(*this);
        Statement select(db, "SELECT bytes FROM recordings WHERE id = ?");
        select.bind(1, id);
        if (!select.step()) return false;
        *bytes = select.text(0);
        return true;
    }

    Page top(int difficulty, int limit, std::int64_t offset) override {
        Lease db(*this);
        Transaction t(db, "BEGIN");  // the count and the rows from one snapshot
        Page page;
        Statement count(db, "SELECT COUNT(*) FROM entries WHERE difficulty = ? AND hidden = 0");
        count.bind(1, difficulty).step();
        page.total = count.integer(0);
        Statement rows(db, (std::string("SELECT ") + kColumns +
                            " FROM entries WHERE difficulty = ? AND hidden = 0"
                            " ORDER BY score DESC, frames, submitted, id LIMIT ? OFFSET ?")
                               .c_str());
        rows.bind(1, difficulty).bind(2, limit).bind(3, offset);
        while (rows.step()) {
            page.entries.push_back(rows.entry());
            page.entries.back().rank = offset + static_cast<std::int64_t>(page.entries.size());
        }
        t.commit();
        return page;
    }

    bool setHidden(std::int64_t id, bool hidden) override {
        Lease db(*this);
        Statement update(db, "UPDATE entries SET hidden = ? WHERE id = ?");
        update.bind(1, hidden ? 1 : 0).bind(2, id).step();
        return sqlite3_changes(db) > 0 || find(db, id);
    }

    void forEach(const std::function<void(const Entry&, const std::string&)>& visit) override {
        Lease db(*this);
        Statement rows(db,
                       (std::string("SELECT ") + kColumns +
                        ", (SELECT bytes FROM recordings r WHERE r.id = entries.id) FROM entries ORDER BY id")
                           .c_str());
        while (rows.step()) visit(rows.entry(), rows.text(11));
    }

  private:
    // One connection of the pool for the length of a call.
    class Lease {
      public:
        explicit Lease(SqliteStore& store) : store_(store) {
            std::unique_lock<std::mutex> lock(store.mutex_);
            store.available_.wait(lock, [&] { return !store.free_.empty(); });
            db_ = store.free_.back();
            store.free_.pop_back();
        }
        ~Lease() {
            {
                std::lock_guard<std::mutex> lock(store_.mutex_);
                store_.free_.push_back(db_);
            }
            store_.available_.notify_one();
        }
        operator sqlite3*() const { return db_; }

      private:
        SqliteStore& store_;
        sqlite3* db_;
    };

    static bool find(sqlite3* db, std::int64_t id) {
        Statement select(db, "SELECT 1 FROM entries WHERE id = ?");
        select.bind(1, id);
        return select.step();
    }

    static Entry ranked(sqlite3* db, Entry e) {
        if (e.hidden) return e;
        Statement ahead(db, kAhead);
        ahead.bind(1, e.difficulty)
            .bind(2, e.score)
            .bind(3, e.frames)
            .bind(4, e.submitted)
            .bind(5, e.id)
            .step();
        e.rank = ahead.integer(0) + 1;
        return e;
    }

    static void migrate(sqlite3* db) {
        Transaction t(db, "BEGIN IMMEDIATE");
        Statement version(db, "PRAGMA user_version");
        version.step();
        const std::int64_t have = version.integer(0);
        const std::int64_t known = sizeof kMigrations / sizeof kMigrations[0];
        if (have > known) throw StoreUnavailable("the table was written by a later korvex-scores");
        for (std::int64_t v = have; v < known; ++v) exec(db, kMigrations[v]);
        exec(db, "PRAGMA user_version = " + std::to_string(known));
        t.commit();
    }

    std::mutex mutex_;
    std::condition_variable available_;
    std::vector<sqlite3*> free_;
};

}  // namespace

std::unique_ptr<Store> openSqliteStore(const std::string& folder) {
    return std::make_unique<SqliteStore>(folder);
}

const char* difficultyName(int difficulty) {
    static const char* const kNames[kDifficulties] = {"easy", "medium", "hard"};
    return difficulty >= 0 && difficulty < kDifficulties ? kNames[difficulty] : nullptr;
}

int difficultyFromName(const std::string& name) {
    for (int d = 0; d < kDifficulties; ++d) {
        if (name == difficultyName(d)) return d;
    }
    return -1;
}

}  // namespace scores
