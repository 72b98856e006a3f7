#include "SqliteDb.h"

#include <stdexcept>

namespace {

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
}

} // namespace

SqliteDb::Query::Query(sqlite3 *db, sqlite3_stmt *stmt) : db_(db), stmt_(stmt) {}

SqliteDb::Query::~Query()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

SqliteDb::Query &SqliteDb::Query::bind(const std::string &value)
{
    check(db_, sqlite3_bind_text(stmt_, ++index_, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT));
    return *this;
}

SqliteDb::Query &SqliteDb::Query::bind(std::int64_t value)
{
    check(db_, sqlite3_bind_int64(stmt_, ++index_, value));
    return *this;
}

SqliteDb::Query &SqliteDb::Query::bindNull()
{
    check(db_, sqlite3_bind_null(stmt_, ++index_));
    return *this;
}

bool SqliteDb::Query::next()
{
    const int rc = sqlite3_step(stmt_);
    check(db_, rc);
    return rc == SQLITE_ROW;
}

void SqliteDb::Query::run()
{
    while (next()) {
    }
}

std::int64_t SqliteDb::Query::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteDb::Query::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
    return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                : std::string();
}

bool SqliteDb::Query::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

SqliteDb::~SqliteDb()
{
    for (auto &entry : statements_)
        sqlite3_finalize(entry.second);
    if (db_)
        sqlite3_close(db_);
}

void SqliteDb::open(const std::string &path)
{
    const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("sqlite: cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
}

void SqliteDb::exec(const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "error";
        sqlite3_free(error);
        throw std::runtime_error("sqlite: " + message);
    }
}

SqliteDb::Query SqliteDb::query(const std::string &sql)
{
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        sqlite3_stmt *stmt = nullptr;
        check(db_, sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt,
                                      nullptr));
        found = statements_.emplace(sql, stmt).first;
    }
    return Query(db_, found->second);
}

std::int64_t SqliteDb::changes() const
{
    return sqlite3_changes(db_);
}

SqliteTransaction::SqliteTransaction(SqliteDb &db) : db_(db)
{
    db_.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (!done_) {
        try {
            db_.exec("ROLLBACK");
        } catch (const std::exception &) {
            // Nothing was begun or the connection is gone: nothing to undo.
        }
    }
}

void SqliteTransaction::commit()
{
    db_.exec("COMMIT");
    done_ = true;
}
