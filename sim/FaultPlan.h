#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

// What the control surface has set up for the requests of one key: a command's action, or
// the path of any other request ("/client.aspx"). Thread-safe.
class FaultPlan
{
public:
    enum class Encoding { Utf8, GbkWithCharset, GbkWithoutCharset };

    struct Override
    {
        enum class Kind { Reply, Drop, Status } kind = Kind::Reply;
        std::string text; // Reply: the body
        int status = 0;   // Status: the HTTP status
    };

    // What one request gets: taken from the plan as the request arrives.
    struct Decision
    {
        int delayMs = 0;
        std::optional<Override> override; // none: the platform's own answer
        Encoding encoding = Encoding::Utf8;
    };

    Decision take(const std::string &key);

    void queue(const std::string &key, const Override &next, int count = 1);
    void setForever(const std::string &key, const Override &always);
    void clearOverrides(const std::string &key);
    void setDelay(const std::string &key, int milliseconds);
    void setEncoding(const std::string &key, Encoding encoding);
    void clear();

private:
    struct Entry
    {
        std::deque<Override> next;
        std::optional<Override> always;
        int delayMs = 0;
        Encoding encoding = Encoding::Utf8;
    };

    std::mutex mutex_;
    std::map<std::string, Entry, std::less<>> entries_;
};
