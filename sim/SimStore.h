#pragma once

#include "SqliteDb.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <type_traits>

// All state of the simulated platform in one SQLite database: accounts, projects, favourites,
// the number pools, held numbers, waiting SMS, the blacklist and sent SMS. Every use runs under
// one lock inside one transaction, so concurrent requests never see or leave half a change.
class SimStore
{
public:
    // Opens (creating and seeding when empty, or when reset) the database at path, or an
    // in-memory one for ":memory:". Throws std::runtime_error when it cannot.
    void open(const std::string &path, bool reset);
    void resetToSeed();

    // Runs fn(db) under the lock in one transaction; an exception rolls it back.
    template <class Fn>
    auto transact(Fn &&fn)
    {
        std::lock_guard lock(mutex_);
        SqliteTransaction transaction(db_);
        if constexpr (std::is_void_v<decltype(fn(db_))>) {
            fn(db_);
            transaction.commit();
        } else {
            auto result = fn(db_);
            transaction.commit();
            return result;
        }
    }

    static std::int64_t nowMs(); // wall clock, so held numbers keep their times across restarts

private:
    void createSchema();
    void clearAll();

    std::mutex mutex_;
    SqliteDb db_;
};
