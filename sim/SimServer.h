#pragma once

#include <memory>
#include <string>
#include <vector>

// The platform simulator: the platform's whole protocol over HTTP on 127.0.0.1, state in
// SQLite. Used in-process by the tests and by the talvek-sim executable.
class SimServer
{
public:
    struct Options
    {
        std::string dbPath = ":memory:";
        int port = 0;             // 0: any free port
        int smsDelayMs = 3000;    // how long after a number is taken its SMS arrives
        bool reset = false;       // start again from the seed
    };

    explicit SimServer(Options options);
    SimServer();
    ~SimServer(); // stops

    bool start(); // false when the port cannot be bound or the store cannot be opened
    void stop();
    int port() const;
    std::string baseUrl() const; // "http://127.0.0.1:<port>/"

    // The control surface, also reachable over HTTP under /sim/ (see the README).
    std::vector<std::string> requestLog() const; // request targets exactly as received
    void clearRequestLog();
    void deliverSms(const std::string &mobile, const std::string &text);
    // The next replies of a command (its "action"), consumed one per request.
    void setNextReplies(const std::string &action, const std::vector<std::string> &replies);
    void setDelay(const std::string &action, int milliseconds);
    void resetToSeed();

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
