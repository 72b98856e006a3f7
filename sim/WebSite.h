#pragma once

#include "SimServer.h"

#include <mutex>
#include <optional>
#include <string>

class QueryParams;
class SimStore;

// What the web site answers: a page, a text or a file.
struct WebReply
{
    int status = 200;
    std::string body;
    std::string contentType = "text/html"; // the charset is added when the reply is sent
    bool isText = true;                    // text bodies may be re-encoded (GBK)
};

// The platform's web site around the command endpoint: information page, register and account
// pages, help pages, the hand-off "ref.aspx", the update check and its packages, "vostrel.rar".
class WebSite
{
public:
    explicit WebSite(SimStore &store);

    // nullopt: no such page (404).
    std::optional<WebReply> serve(const std::string &path, const QueryParams &params, const std::string &baseUrl);

    void offerUpdate(const SimServer::UpdateOffer &offer);
    void withdrawUpdate();

private:
    WebReply handOff(const QueryParams &params);
    WebReply updateCheck(const std::string &baseUrl);
    std::optional<WebReply> download(const std::string &path);

    SimStore &store_;
    std::mutex mutex_;
    bool offered_ = false;
    std::string package_;
    std::string updater_; // empty: no updater offered
};
