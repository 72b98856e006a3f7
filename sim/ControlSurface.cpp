#include "ControlSurface.h"

#include "QueryParams.h"
#include "SimServer.h"

#include <httplib.h>

#include <cmath>
#include <functional>
#include <map>

namespace {

int intValue(const QueryParams &params, const char *name, int fallback)
{
    const std::string *text = params.find(name);
    if (!text || text->empty())
        return fallback;
    std::size_t used = 0;
    const int value = std::stoi(*text, &used);
    if (used != text->size())
        throw std::invalid_argument(name);
    return value;
}

// Counts and sizes from a script, kept small enough that no request can exhaust memory.
int boundedValue(const QueryParams &params, const char *name, int fallback, int high)
{
    const int value = intValue(params, name, fallback);
    if (value < 0 || value > high)
        throw std::invalid_argument(name);
    return value;
}

std::string required(const QueryParams &params, const char *name)
{
    const std::string *text = params.find(name);
    if (!text)
        throw std::invalid_argument(name);
    return *text;
}

SimServer::Encoding encodingNamed(const std::string &name)
{
    if (name == "utf8")
        return SimServer::Encoding::Utf8;
    if (name == "gbk")
        return SimServer::Encoding::GbkWithCharset;
    if (name == "gbk-nocharset")
        return SimServer::Encoding::GbkWithoutCharset;
    throw std::invalid_argument("mode");
}

std::string jsonString(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string accountJson(const std::string &uid, const SimServer::Account &account)
{
    char balance[32];
    std::snprintf(balance, sizeof balance, "%lld.%02lld", account.balanceCents / 100, std::llabs(account.balanceCents % 100));
    return "{\"uid\":" + jsonString(uid) + ",\"exists\":" + (account.exists ? "true" : "false")
           + ",\"token\":" + jsonString(account.token) + ",\"points\":" + std::to_string(account.points)
           + ",\"balance\":\"" + balance + "\",\"maxNumbers\":" + std::to_string(account.maxNumbers)
           + ",\"locked\":" + (account.locked ? "true" : "false") + "}";
}

std::string joinLines(const std::vector<std::string> &lines)
{
    std::string out;
    for (const auto &line : lines)
        out += line + "\n";
    return out;
}

} // namespace

ControlSurface::ControlSurface(SimServer &server) : server_(server) {}

void ControlSurface::handle(const httplib::Request &request, httplib::Response &response)
{
    if (request.remote_addr != "127.0.0.1" && request.remote_addr != "::1") {
        response.status = 403;
        response.set_content("loopback only\n", "text/plain");
        return;
    }
    const QueryParams p = QueryParams::fromTarget(request.target);
    using Route = std::function<std::string()>;
    const std::map<std::string, Route> routes = {
        {"/sim/log", [&] { return joinLines(server_.requestLog()); }},
        {"/sim/log/clear", [&] { server_.clearRequestLog(); return std::string("OK\n"); }},
        {"/sim/reset", [&] { server_.resetToSeed(); return std::string("OK\n"); }},
        {"/sim/deliver", [&] { server_.deliverSms(required(p, "mobile"), required(p, "text")); return std::string("OK\n"); }},
        {"/sim/reply", [&] {
             if (intValue(p, "forever", 0) != 0)
                 server_.setReplyForever(required(p, "action"), required(p, "text"));
             else
                 server_.setNextReplies(required(p, "action"),
                                        std::vector<std::string>(boundedValue(p, "count", 1, 10000), required(p, "text")));
             return std::string("OK\n");
         }},
        {"/sim/reply/clear", [&] { server_.clearReplies(required(p, "action")); return std::string("OK\n"); }},
        {"/sim/delay", [&] { server_.setDelay(required(p, "action"), intValue(p, "ms", 0)); return std::string("OK\n"); }},
        {"/sim/drop", [&] { server_.dropConnection(required(p, "action"), boundedValue(p, "count", 1, 10000)); return std::string("OK\n"); }},
        {"/sim/status", [&] {
             server_.answerStatus(required(p, "action"), boundedValue(p, "code", 500, 599), boundedValue(p, "count", 1, 10000));
             return std::string("OK\n");
         }},
        {"/sim/encoding", [&] {
             server_.setEncoding(required(p, "action"), encodingNamed(required(p, "mode")));
             return std::string("OK\n");
         }},
        {"/sim/update", [&] {
             SimServer::UpdateOffer offer;
             offer.packageBytes = static_cast<std::size_t>(boundedValue(p, "size", 204800, 64 << 20));
             offer.withUpdater = intValue(p, "updater", 0) != 0;
             server_.offerUpdate(offer);
             return server_.packageUrl() + "`" + (offer.withUpdater ? server_.updaterUrl() : "") + "\n";
         }},
        {"/sim/update/withdraw", [&] { server_.withdrawUpdate(); return std::string("OK\n"); }},
        {"/sim/account", [&] {
             const std::string uid = required(p, "uid");
             if (const std::string *balance = p.find("balance"))
                 server_.setBalance(uid, std::llround(std::stod(*balance) * 100));
             if (p.find("limit"))
                 server_.setNumberLimit(uid, intValue(p, "limit", 0));
             if (p.find("locked"))
                 server_.setLocked(uid, intValue(p, "locked", 0) != 0);
             return accountJson(uid, server_.account(uid)) + "\n";
         }},
        {"/sim/held", [&] { return joinLines(server_.heldNumbers(required(p, "uid"))); }},
        {"/sim/project", [&] {
             server_.setProjectDelivery(intValue(p, "pid", 0), intValue(p, "deliver_ms", -1));
             return std::string("OK\n");
         }},
        {"/sim/smsdelay", [&] { server_.setSmsDelay(intValue(p, "ms", -1)); return std::string("OK\n"); }},
    };
    const auto route = routes.find(request.path);
    if (route == routes.end()) {
        response.status = 404;
        response.set_content("no such control\n", "text/plain");
        return;
    }
    try {
        response.set_content(route->second(), request.path == "/sim/account" ? "application/json" : "text/plain; charset=utf-8");
    } catch (const std::exception &error) {
        response.status = 400;
        response.set_content(std::string("bad parameter: ") + error.what() + "\n", "text/plain");
    }
}
