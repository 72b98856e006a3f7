#pragma once

#include <atomic>
#include <cstdint>
#include <random>
#include <string>

class QueryParams;
class SimStore;
class SqliteDb;

// The platform's command endpoint "http.aspx?action=...": checks the session, the parameters,
// and answers with the platform's short plain-text replies. Thread-safe.
class PlatformCommands
{
public:
    PlatformCommands(SimStore &store, int smsDelayMs);

    std::string run(const std::string &action, const QueryParams &params);

    // Milliseconds after a number is taken until its SMS arrives, for projects without a
    // delivery time of their own; below 0: never by itself.
    void setSmsDelay(int milliseconds);

    // Queues an SMS for whoever holds the number now or next.
    void deliverSms(const std::string &mobile, const std::string &text);

    // A new session token for the account, as a login would issue; empty when there is none.
    std::string startSession(const std::string &uid);

private:
    std::string login(SqliteDb &db, const QueryParams &params);
    std::string userInfo(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string favouriteProjects(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string takeNumbers(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string pollSms(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string releaseNumbers(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string blacklist(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string sendSms(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string smsStatus(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string favouriteList(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string projectList(SqliteDb &db, const std::string &uid, const QueryParams &params);
    std::string changeFavourites(SqliteDb &db, const std::string &uid, const QueryParams &params);

    std::string newToken();
    std::string composeFor(SqliteDb &db, int pid);
    std::int64_t deliveryDelay(SqliteDb &db, int pid);

    SimStore &store_;
    std::atomic<int> smsDelayMs_;
    std::mt19937 random_; // used under the store's lock only
};
