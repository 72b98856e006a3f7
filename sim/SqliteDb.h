#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <unordered_map>

// One SQLite connection with cached prepared statements. Not thread-safe by itself: the
// store serialises every use. Errors throw std::runtime_error.
class SqliteDb
{
public:
    // One run of a cached statement; resets it on destruction so it can be used again.
    class Query
    {
    public:
        Query(sqlite3 *db, sqlite3_stmt *stmt);
        Query(const Query &) = delete;
        Query &operator=(const Query &) = delete;
        ~Query();

        Query &bind(const std::string &value);
        Query &bind(std::int64_t value);
        Query &bindNull();
        bool next(); // steps; true while there is a row
        void run();  // steps to the end
        std::int64_t integer(int column) const;
        std::string text(int column) const;
        bool isNull(int column) const;

    private:
        sqlite3 *db_;
        sqlite3_stmt *stmt_;
        int index_ = 0;
    };

    SqliteDb() = default;
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;
    ~SqliteDb();

    void open(const std::string &path);
    void exec(const std::string &sql);
    Query query(const std::string &sql);
    std::int64_t changes() const;

private:
    sqlite3 *db_ = nullptr;
    std::unordered_map<std::string, sqlite3_stmt *> statements_;
};

// BEGIN IMMEDIATE on construction; rolls back unless committed.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteDb &db);
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;
    ~SqliteTransaction();
    void commit();

private:
    SqliteDb &db_;
    bool done_ = false;
};
