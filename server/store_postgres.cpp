// The table in a PostgreSQL database that any number of servers share. The unique key on the
// recording's hash makes one entry of a recording sent to several servers at once; ranks come from
// the database. A connection that fails is reset on its next use, so the service recovers by itself.
#include <libpq-fe.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "store.h"

namespace scores {

namespace {

const char* const kMigrations[] = {
    "CREATE TABLE entries (id BIGSERIAL PRIMARY KEY, sha256 TEXT NOT NULL UNIQUE, difficulty INTEGER NOT "
    "NULL,"
    " score INTEGER NOT NULL, level INTEGER NOT NULL, lives INTEGER NOT NULL, frames BIGINT NOT NULL,"
    " name TEXT NOT NULL, line TEXT NOT NULL, submitted BIGINT NOT NULL, hidden BOOLEAN NOT NULL DEFAULT "
    "false);"
    "CREATE INDEX entries_rank ON entries (difficulty, hidden, score DESC, frames, submitted, id);"
    "CREATE TABLE recordings (id BIGINT PRIMARY KEY REFERENCES entries (id), bytes BYTEA NOT NULL);",
};
constexpr long kMigrationLock = 0x4b565853;  // any number, the same in every server

constexpr const char* kColumns =
    "e.id, e.sha256, e.difficulty, e.score, e.level, e.lives, e.frames, e.name, e.line,"
    " e.submitted, e.hidden";
// The rank of the entry in `e` among the visible ones; 0 while hidden.
constexpr const char* kRank =
    "CASE WHEN e.hidden THEN 0 ELSE 1 + (SELECT COUNT(*) FROM entries o WHERE o.difficulty = e.difficulty AND"
    " NOT o.hidden AND (o.score, -o.frames, -o.submitted, -o.id) > (e.score, -e.frames, -e.submitted, "
    "-e.id)) END";

class Result {
  public:
    explicit Result(PGresult* r) : r_(r) {}
    ~Result() { PQclear(r_); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    int rows() const { return PQntuples(r_); }
    std::string text(int row, int col) const {
        return std::string(PQgetvalue(r_, row, col), static_cast<std::size_t>(PQgetlength(r_, row, col)));
    }
    std::int64_t integer(int row, int col) const { return std::stoll(text(row, col)); }
    Entry entry(int row) const {
        Entry e;
        e.id = integer(row, 0);
        e.sha256 = text(row, 1);
        e.difficulty = static_cast<std::int32_t>(integer(row, 2));
        e.score = static_cast<std::int32_t>(integer(row, 3));
        e.level = static_cast<std::int32_t>(integer(row, 4));
        e.lives = static_cast<std::int32_t>(integer(row, 5));
        e.frames = static_cast<std::uint32_t>(integer(row, 6));
        e.name = text(row, 7);
        e.line = text(row, 8);
        e.submitted = integer(row, 9);
        e.hidden = text(row, 10) == "t";
        e.rank = integer(row, 11);
        return e;
    }

  private:
    PGresult* r_;
};

class PostgresStore : public Store {
  public:
    PostgresStore(const std::string& url, int connections) : url_(url) {
        for (int i = 0; i < connections; ++i) free_.push_back(nullptr);
        Lease db(*this);
        exec(db, "BEGIN");
        exec(db, "SELECT pg_advisory_xact_lock(" + std::to_string(kMigrationLock) + ")");
        exec(db, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        Result v(query(db, "SELECT COALESCE(MAX(version), 0) FROM schema_version", {}));
        const std::int64_t have = v.integer(0, 0);
        const std::int64_t known = sizeof kMigrations / sizeof kMigrations[0];
        if (have > known) {
            exec(db, "ROLLBACK");
            throw StoreUnavailable("the database was written by a later korvex-scores");
        }
        for (std::int64_t n = have; n < known; ++n) exec(db, kMigrations[n]);
        exec(db, "DELETE FROM schema_version");
        exec(db, "INSERT INTO schema_version VALUES (" + std::to_string(known) + ")");
        exec(db, "COMMIT");
    }
    ~PostgresStore() override {
        for (PGconn* c : free_) PQfinish(c);
    }

    bool add(const NewEntry& fresh, const std::string& recording, Entry* entry) override {
        Lease db(*this);
        // One statement, so one transaction: the entry and its recording, or nothing.
        Result added(
            query(db,
                  "WITH fresh AS (INSERT INTO entries (sha256, difficulty, score, level, lives, frames,"
                  " name, line, submitted) VALUES ($1, $2, $3, $4, $5, $6, $7, $8,"
                  " EXTRACT(EPOCH FROM now())::BIGINT) ON CONFLICT (sha256) DO NOTHING RETURNING id)"
                  " INSERT INTO recordings (id, bytes) SELECT id, $9 FROM fresh RETURNING id",
                  {fresh.sha256, std::to_string(fresh.difficulty), std::to_string(fresh.score),
                   std::to_string(fresh.level), std::to_string(fresh.lives), std::to_string(fresh.frames),
                   fresh.name, fresh.line, recording},
                  true));
        Result row(query(
            db, std::string("SELECT ") + kColumns + ", " + kRank + " FROM entries e WHERE e.sha256 = $1",
            {fresh.sha256}));
        if (row.rows() != 1) throw StoreUnavailable("PostgreSQL: the entry just written cannot be read");
        *entry = row.entry(0);
        return added.rows() == 1;
    }

    bool find(std::int64_t id, Entry* entry) override {
        Lease db(*this);
        Result row(query(db,
                         std::string("SELECT ") + kColumns + ", " + kRank + " FROM entries e WHERE e.id = $1",
                         {std::to_string(id)}));
        if (row.rows() != 1) return false;
        *entry = row.entry(0);
        return true;
    }

    bool recording(std::int64_t id, std::string* bytes) override {
        Lease db(*this);
        Result row(
            query(db, "SELECT bytes FROM recordings WHERE id = $1", {std::to_string(id)}, false, true));
        if (row.rows() != 1) return false;
        *bytes = row.text(0, 0);
        return true;
    }

    Page top(int difficulty, int limit, std::int64_t offset) override {
        Lease db(*this);
        Page page;
        // The count and the rows in one statement, so from one snapshot.
        Result rows(
            query(db,
                  std::string("SELECT ") + kColumns +
                      ", $3::BIGINT + ROW_NUMBER() OVER (ORDER BY e.score DESC, e.frames, e.submitted, e.id),"
                      " (SELECT COUNT(*) FROM entries c WHERE c.difficulty = $1 AND NOT c.hidden)"
                      " FROM entries e WHERE e.difficulty = $1 AND NOT e.hidden"
                      " ORDER BY e.score DESC, e.frames, e.submitted, e.id LIMIT $2 OFFSET $3",
                  {std::to_string(difficulty), std::to_string(limit), std::to_string(offset)}));
        for (int i = 0; i < rows.rows(); ++i) page.entries.push_back(rows.entry(i));
        if (rows.rows() > 0) {
            page.total = rows.integer(0, 12);
        } else {
            Result count(query(db, "SELECT COUNT(*) FROM entries WHERE difficulty = $1 AND NOT hidden",
                               {std::to_string(difficulty)}));
            page.total = count.integer(0, 0);
        }
        return page;
    }

    bool setHidden(std::int64_t id, bool hidden) override {
        Lease db(*this);
        Result row(query(db, "UPDATE entries SET hidden = $1 WHERE id = $2 RETURNING id",
                         {hidden ? "true" : "false", std::to_string(id)}));
        return row.rows() == 1;
    }

    void forEach(const std::function<void(const Entry&, const std::string&)>& visit) override {
        Lease db(*this);
        Result ids(query(db, "SELECT id FROM entries ORDER BY id", {}));
        for (int i = 0; i < ids.rows(); ++i) {
            const std::string id = ids.text(i, 0);
            Result row(query(
                db, std::string("SELECT ") + kColumns + ", " + kRank + " FROM entries e WHERE e.id = $1",
                {id}));
            Result bytes(query(db, "SELECT bytes FROM recordings WHERE id = $1", {id}, false, true));
            if (row.rows() == 1 && bytes.rows() == 1) visit(row.entry(0), bytes.text(0, 0));
        }
    }

  private:
    class Lease {
      public:
        explicit Lease(PostgresStore& store) : store_(store) {
            std::unique_lock<std::mutex> lock(store.mutex_);
            store.available_.wait(lock, [&] { return !store.free_.empty(); });
            conn_ = store.free_.back();
            store.free_.pop_back();
            lock.unlock();
            // A connection that is lost gets one new try per use; the caller gets 503 until it works.
            if (!conn_) {
                conn_ = PQconnectdb(store.url_.c_str());
                PQsetNoticeProcessor(
                    conn_, [](void*, const char*) {}, nullptr);  // "already exists" and the like
            }
            if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
            if (PQstatus(conn_) != CONNECTION_OK) {
                const std::string why = PQerrorMessage(conn_);
                give();
                throw StoreUnavailable("PostgreSQL: " + firstLine(why));
            }
        }
        ~Lease() { give(); }
        operator PGconn*() const { return conn_; }

      private:
        void give() {
            if (released_) return;
            released_ = true;
            {
                std::lock_guard<std::mutex> lock(store_.mutex_);
                store_.free_.push_back(conn_);
            }
            store_.available_.notify_one();
        }
        PostgresStore& store_;
        PGconn* conn_ = nullptr;
        bool released_ = false;
    };

    static std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

    // Runs one statement with text parameters; the last one binary when `binaryLast`.
    static PGresult* query(PGconn* db, const std::string& sql, const std::vector<std::string>& params,
                           bool binaryLast = false, bool binaryResult = false) {
        std::vector<const char*> values;
        std::vector<int> lengths, formats;
        for (const std::string& p : params) {
            values.push_back(p.data());
            lengths.push_back(static_cast<int>(p.size()));
            formats.push_back(0);
        }
        if (binaryLast && !formats.empty()) formats.back() = 1;
        PGresult* r = PQexecParams(db, sql.c_str(), static_cast<int>(params.size()), nullptr, values.data(),
                                   lengths.data(), formats.data(), binaryResult ? 1 : 0);
        // A connection the database dropped (it restarted) is seen only now: once more on a new one.
        // Every statement here may run twice: an entry goes in once by its hash.
        if (PQresultStatus(r) == PGRES_FATAL_ERROR && PQstatus(db) == CONNECTION_BAD) {
            PQclear(r);
            PQreset(db);
            r = PQexecParams(db, sql.c_str(), static_cast<int>(params.size()), nullptr, values.data(),
                             lengths.data(), formats.data(), binaryResult ? 1 : 0);
        }
        const ExecStatusType status = PQresultStatus(r);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            const std::string why = PQresultErrorMessage(r);
            PQclear(r);
            throw StoreUnavailable("PostgreSQL: " + firstLine(why));
        }
        return r;
    }
    // Statements without parameters, several at once (the migrations).
    static void exec(PGconn* db, const std::string& sql) {
        PGresult* r = PQexec(db, sql.c_str());
        const ExecStatusType status = PQresultStatus(r);
        const std::string why = PQresultErrorMessage(r);
        PQclear(r);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            throw StoreUnavailable("PostgreSQL: " + firstLine(why));
    }

    std::string url_;
    std::mutex mutex_;
    std::condition_variable available_;
    std::vector<PGconn*> free_;
};

}  // namespace

std::unique_ptr<Store> openPostgresStore(const std::string& url, int connections) {
    return std::make_unique<PostgresStore>(url, connections);
}

}  // namespace scores
