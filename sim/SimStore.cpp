#include "SimStore.h"

#include "DemoSeed.h"

#include <chrono>

namespace {

const char *const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS accounts (
  uid TEXT PRIMARY KEY, pwd TEXT NOT NULL, token TEXT NOT NULL DEFAULT '',
  points INTEGER NOT NULL, balance_cents INTEGER NOT NULL, max_numbers INTEGER NOT NULL,
  locked INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS projects (
  pid INTEGER PRIMARY KEY, name TEXT NOT NULL, url TEXT NOT NULL, price_cents INTEGER NOT NULL,
  type INTEGER NOT NULL, status INTEGER NOT NULL, info TEXT NOT NULL, recv TEXT NOT NULL,
  sms_style INTEGER NOT NULL, code_kind INTEGER NOT NULL,
  deliver_ms INTEGER, send_result TEXT NOT NULL DEFAULT 'succ');
CREATE TABLE IF NOT EXISTS favourites (
  uid TEXT NOT NULL, pid INTEGER NOT NULL, added TEXT NOT NULL, PRIMARY KEY (uid, pid));
CREATE TABLE IF NOT EXISTS numbers (
  pid INTEGER NOT NULL, mobile TEXT NOT NULL, holder TEXT, several INTEGER NOT NULL DEFAULT 0,
  taken_ms INTEGER, next_sms_ms INTEGER, PRIMARY KEY (pid, mobile));
CREATE INDEX IF NOT EXISTS numbers_holder ON numbers (holder);
CREATE INDEX IF NOT EXISTS numbers_mobile ON numbers (mobile);
CREATE TABLE IF NOT EXISTS inbox (
  id INTEGER PRIMARY KEY, mobile TEXT NOT NULL, text TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS inbox_mobile ON inbox (mobile);
CREATE TABLE IF NOT EXISTS blacklist (
  uid TEXT NOT NULL, pid INTEGER NOT NULL, mobile TEXT NOT NULL, PRIMARY KEY (uid, pid, mobile));
CREATE TABLE IF NOT EXISTS outbox (
  uid TEXT NOT NULL, pid INTEGER NOT NULL, mobile TEXT NOT NULL, recv TEXT NOT NULL,
  content TEXT NOT NULL, polls INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (uid, pid, mobile));
)sql";

} // namespace

void SimStore::open(const std::string &path, bool reset)
{
    std::lock_guard lock(mutex_);
    db_.open(path);
    if (path != ":memory:") {
        db_.exec("PRAGMA journal_mode=WAL");
        db_.exec("PRAGMA synchronous=NORMAL");
    }
    createSchema();
    bool empty = true;
    {
        auto query = db_.query("SELECT COUNT(*) FROM accounts");
        if (query.next())
            empty = query.integer(0) == 0;
    }
    if (empty || reset) {
        SqliteTransaction transaction(db_);
        clearAll();
        seedDemo(db_);
        transaction.commit();
    }
}

void SimStore::resetToSeed()
{
    transact([this](SqliteDb &db) {
        clearAll();
        seedDemo(db);
    });
}

std::int64_t SimStore::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SimStore::createSchema()
{
    db_.exec(kSchema);
}

void SimStore::clearAll()
{
    db_.exec("DELETE FROM accounts; DELETE FROM projects; DELETE FROM favourites;"
             "DELETE FROM numbers; DELETE FROM inbox; DELETE FROM blacklist; DELETE FROM outbox;");
}
