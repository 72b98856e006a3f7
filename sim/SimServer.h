#pragma once

#include <cstddef>
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
        int smsDelayMs = -1;      // how long after a number is taken its SMS arrives; < 0: never
                                  // by itself (tests deliver with deliverSms)
        bool reset = false;       // start again from the seed
    };

    explicit SimServer(Options options);
    SimServer();
    ~SimServer(); // stops

    bool start(); // false when the port cannot be bound or the store cannot be opened
    void stop();
    int port() const;
    std::string baseUrl() const; // "http://127.0.0.1:<port>/"

    // The control surface, also reachable over HTTP under /sim/ (see the README). All of it is
    // thread-safe. Where a method takes an "action", a command's name ("getinfo") is meant, or
    // the path of any other request ("/client.aspx", "/info/info.html").
    std::vector<std::string> requestLog() const; // request targets exactly as received
    void clearRequestLog();
    // Queues an SMS for the number: its holder's next poll gets it (and is charged for it).
    void deliverSms(const std::string &mobile, const std::string &text);
    // The next replies of a command (its "action"), consumed one per request.
    void setNextReplies(const std::string &action, const std::vector<std::string> &replies);
    void setDelay(const std::string &action, int milliseconds);
    void resetToSeed(); // the seeded demo again; request log, faults and update offer cleared

    // Every reply of a command is this text (after any queued ones) until clearReplies.
    void setReplyForever(const std::string &action, const std::string &text);
    // Drops the queued and permanent replies of a command: the platform answers again.
    void clearReplies(const std::string &action);
    // The next count requests get their connection closed without any reply.
    void dropConnection(const std::string &action, int count = 1);
    // The next count requests are answered with this HTTP status and a short error page.
    void answerStatus(const std::string &action, int status, int count = 1);
    enum class Encoding { Utf8, GbkWithCharset, GbkWithoutCharset };
    // Text replies of an action are sent in this encoding from now on (default UTF-8, named).
    void setEncoding(const std::string &action, Encoding encoding);

    struct ZipEntry
    {
        std::string name;
        std::string content;
    };
    struct UpdateOffer
    {
        std::size_t packageBytes = 204800;  // exact size of the package (update.zip)
        std::vector<ZipEntry> packageFiles; // its entries; padded up to packageBytes
        bool withUpdater = false;           // also offer an updater package (up.zip)
        std::vector<ZipEntry> updaterFiles; // its entries; empty: one small "update.exe"
    };
    // The update check answers with the package (and updater) address, both served here.
    void offerUpdate(const UpdateOffer &offer);
    void withdrawUpdate(); // the update check answers blank again
    std::string packageUrl() const; // where the offered package is served
    std::string updaterUrl() const; // where the offered updater package is served

    struct Account
    {
        bool exists = false;
        std::string token; // empty until a login
        int points = 0;
        long long balanceCents = 0;
        int maxNumbers = 0;
        bool locked = false;
    };
    Account account(const std::string &uid) const;
    void setBalance(const std::string &uid, long long cents);
    void setNumberLimit(const std::string &uid, int maxNumbers);
    void setLocked(const std::string &uid, bool locked);
    std::string startSession(const std::string &uid); // a new token, as a login would issue
    std::vector<std::string> heldNumbers(const std::string &uid) const; // oldest first
    std::vector<int> favourites(const std::string &uid) const;          // project ids, ascending
    // SMS of this project's numbers taken from now on arrive after this delay; < 0: never.
    void setProjectDelivery(int pid, int milliseconds);
    // The delay for projects without one of their own (see Options::smsDelayMs).
    void setSmsDelay(int milliseconds);

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
