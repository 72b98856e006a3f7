#include "SimServer.h"

#include "ControlSurface.h"
#include "FaultPlan.h"
#include "PlatformCommands.h"
#include "QueryParams.h"
#include "SimStore.h"
#include "WebSite.h"

#include "common/Ansi.h"

#include <httplib.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include <sys/socket.h>
#include <netinet/in.h>

namespace {

// A worker per connection for 200 concurrent keep-alive clients, with room for delayed ones.
const int kWorkerThreads = 256;
const char *const kOwnReply = "X-Simulator";

int portOf(const sockaddr_storage &address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in &>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 &>(address).sin6_port);
    return -1;
}

// The server library does not hand out a request's socket: find it by its two ports and
// shut it down, so the client sees the connection closed without a byte of reply.
bool shutDownConnection(int localPort, int remotePort)
{
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        int fd = -1;
        if (std::sscanf(entry.path().filename().c_str(), "%d", &fd) != 1)
            continue;
        sockaddr_storage local{}, peer{};
        socklen_t localLength = sizeof local, peerLength = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLength) != 0
            || getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerLength) != 0)
            continue;
        if (portOf(local) == localPort && portOf(peer) == remotePort)
            return shutdown(fd, SHUT_RDWR) == 0;
    }
    return false;
}

void closeWithoutReply(const httplib::Request &request, httplib::Response &response)
{
    if (shutDownConnection(request.local_port, request.remote_port))
        return;
    // Not found: break the reply off right after its headers instead.
    response.set_content_provider(1, "text/plain", [](size_t, size_t, httplib::DataSink &) { return false; });
}

std::string withCharset(const WebReply &reply, SimServer::Encoding encoding, std::string &body)
{
    if (!reply.isText)
        return reply.contentType;
    switch (encoding) {
    case SimServer::Encoding::GbkWithCharset:
        body = ToAnsi(QString::fromStdString(body)).toStdString();
        return reply.contentType + "; charset=gbk";
    case SimServer::Encoding::GbkWithoutCharset:
        body = ToAnsi(QString::fromStdString(body)).toStdString();
        return reply.contentType;
    case SimServer::Encoding::Utf8:
        break;
    }
    return reply.contentType + "; charset=utf-8";
}

FaultPlan::Encoding toPlan(SimServer::Encoding encoding)
{
    switch (encoding) {
    case SimServer::Encoding::GbkWithCharset: return FaultPlan::Encoding::GbkWithCharset;
    case SimServer::Encoding::GbkWithoutCharset: return FaultPlan::Encoding::GbkWithoutCharset;
    case SimServer::Encoding::Utf8: break;
    }
    return FaultPlan::Encoding::Utf8;
}

SimServer::Encoding fromPlan(FaultPlan::Encoding encoding)
{
    switch (encoding) {
    case FaultPlan::Encoding::GbkWithCharset: return SimServer::Encoding::GbkWithCharset;
    case FaultPlan::Encoding::GbkWithoutCharset: return SimServer::Encoding::GbkWithoutCharset;
    case FaultPlan::Encoding::Utf8: break;
    }
    return SimServer::Encoding::Utf8;
}

} // namespace

struct SimServer::Impl
{
    explicit Impl(SimServer &owner, Options options)
        : options(std::move(options)), commands(store, this->options.smsDelayMs), website(store), control(owner)
    {
    }

    void handle(const httplib::Request &request, httplib::Response &response);
    void answer(const httplib::Request &request, httplib::Response &response);
    bool waitUnlessStopping(int milliseconds);

    Options options;
    SimStore store;
    bool storeOpen = false;
    PlatformCommands commands;
    FaultPlan faults;
    WebSite website;
    ControlSurface control;

    mutable std::mutex logMutex;
    std::vector<std::string> log;

    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;

    std::mutex stopMutex;
    std::condition_variable stopSignal;
    bool stopping = false;
};

void SimServer::Impl::handle(const httplib::Request &request, httplib::Response &response)
{
    response.set_header(kOwnReply, "1");
    try {
        if (request.path.rfind("/sim/", 0) == 0) {
            control.handle(request, response);
            return;
        }
        answer(request, response);
    } catch (const std::exception &error) {
        response.status = 500;
        response.set_content(std::string("internal error: ") + error.what(), "text/plain; charset=utf-8");
    }
}

void SimServer::Impl::answer(const httplib::Request &request, httplib::Response &response)
{
    {
        std::lock_guard lock(logMutex);
        log.push_back(request.target);
    }
    const QueryParams params = QueryParams::fromTarget(request.target);
    const bool isCommand = request.path == "/http.aspx";
    const std::string key = isCommand ? params.value("action") : request.path;
    const FaultPlan::Decision decision = faults.take(key);
    if (decision.delayMs > 0 && !waitUnlessStopping(decision.delayMs)) {
        closeWithoutReply(request, response);
        return;
    }

    WebReply reply;
    if (decision.override) {
        switch (decision.override->kind) {
        case FaultPlan::Override::Kind::Drop:
            closeWithoutReply(request, response);
            return;
        case FaultPlan::Override::Kind::Status:
            reply.status = decision.override->status;
            reply.body = "<html><body><h1>" + std::to_string(reply.status) + "</h1></body></html>";
            break;
        case FaultPlan::Override::Kind::Reply:
            reply.body = decision.override->text;
            reply.contentType = isCommand ? "text/plain" : "text/html";
            break;
        }
    } else if (isCommand) {
        reply.body = commands.run(key, params);
        reply.contentType = "text/plain";
    } else if (auto page = website.serve(request.path, params, "http://127.0.0.1:" + std::to_string(port) + "/")) {
        reply = std::move(*page);
    } else {
        reply.status = 404;
        reply.body = "<html><body><h1>404</h1></body></html>";
    }
    std::string body = std::move(reply.body);
    const std::string contentType = withCharset(reply, fromPlan(decision.encoding), body);
    response.status = reply.status;
    response.set_content(body, contentType);
}

bool SimServer::Impl::waitUnlessStopping(int milliseconds)
{
    std::unique_lock lock(stopMutex);
    return !stopSignal.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping; });
}

SimServer::SimServer(Options options) : d(std::make_unique<Impl>(*this, std::move(options))) {}

SimServer::SimServer() : SimServer(Options()) {}

SimServer::~SimServer()
{
    stop();
}

bool SimServer::start()
{
    if (d->server)
        return true;
    if (!d->storeOpen) {
        try {
            d->store.open(d->options.dbPath, d->options.reset);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "talvek-sim: %s\n", error.what());
            return false;
        }
        d->storeOpen = true;
    }
    auto server = std::make_unique<httplib::Server>();
    server->new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    server->set_keep_alive_max_count(1000);
    server->set_tcp_nodelay(true); // headers and body go out in two writes: no Nagle wait
    // The library's default also shares the port (SO_REUSEPORT): a second simulator on a busy
    // port must fail instead of silently taking half of the first one's connections.
    int listening = -1;
    server->set_socket_options([&listening](int socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = socket;
    });
    server->set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
        d->handle(request, response);
        return httplib::Server::HandlerResponse::Handled;
    });
    // The library refuses a target with a second "?" as malformed; the platform takes it as
    // part of the query. Our own replies carry kOwnReply, so they are never handled twice.
    server->set_error_handler(httplib::Server::HandlerWithResponse([this](const httplib::Request &request,
                                                                          httplib::Response &response) {
        if (response.status != 400 || response.has_header(kOwnReply) || request.path.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        response.status = 200;
        d->handle(request, response);
        return httplib::Server::HandlerResponse::Handled;
    }));
    int port = d->options.port;
    if (port == 0)
        port = server->bind_to_any_port("127.0.0.1");
    else if (!server->bind_to_port("127.0.0.1", port))
        port = -1;
    if (port <= 0)
        return false;
    // The library listens with a backlog of 5; a burst of 200 connects would see handshakes
    // dropped and time out. Listening again only raises the backlog.
    ::listen(listening, SOMAXCONN);
    {
        std::lock_guard lock(d->stopMutex);
        d->stopping = false;
    }
    d->port = port;
    d->server = std::move(server);
    d->thread = std::thread([server = d->server.get()] { server->listen_after_bind(); });
    // A stop before the accept loop runs would be missed and leave the loop running for ever.
    while (!d->server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void SimServer::stop()
{
    if (!d->server)
        return;
    {
        std::lock_guard lock(d->stopMutex);
        d->stopping = true;
    }
    d->stopSignal.notify_all();
    d->server->stop();
    d->thread.join();
    d->server.reset();
}

int SimServer::port() const
{
    return d->port;
}

std::string SimServer::baseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(d->port) + "/";
}

std::vector<std::string> SimServer::requestLog() const
{
    std::lock_guard lock(d->logMutex);
    return d->log;
}

void SimServer::clearRequestLog()
{
    std::lock_guard lock(d->logMutex);
    d->log.clear();
}

void SimServer::deliverSms(const std::string &mobile, const std::string &text)
{
    d->commands.deliverSms(mobile, text);
}

void SimServer::setNextReplies(const std::string &action, const std::vector<std::string> &replies)
{
    for (const auto &reply : replies)
        d->faults.queue(action, {FaultPlan::Override::Kind::Reply, reply, 0});
}

void SimServer::setDelay(const std::string &action, int milliseconds)
{
    d->faults.setDelay(action, milliseconds);
}

void SimServer::resetToSeed()
{
    d->store.resetToSeed();
    d->faults.clear();
    d->website.withdrawUpdate();
    clearRequestLog();
}

void SimServer::setReplyForever(const std::string &action, const std::string &text)
{
    d->faults.setForever(action, {FaultPlan::Override::Kind::Reply, text, 0});
}

void SimServer::clearReplies(const std::string &action)
{
    d->faults.clearOverrides(action);
}

void SimServer::dropConnection(const std::string &action, int count)
{
    d->faults.queue(action, {FaultPlan::Override::Kind::Drop, {}, 0}, count);
}

void SimServer::answerStatus(const std::string &action, int status, int count)
{
    d->faults.queue(action, {FaultPlan::Override::Kind::Status, {}, status}, count);
}

void SimServer::setEncoding(const std::string &action, Encoding encoding)
{
    d->faults.setEncoding(action, toPlan(encoding));
}

void SimServer::offerUpdate(const UpdateOffer &offer)
{
    d->website.offerUpdate(offer);
}

void SimServer::withdrawUpdate()
{
    d->website.withdrawUpdate();
}

std::string SimServer::packageUrl() const
{
    return baseUrl() + "download/update.zip";
}

std::string SimServer::updaterUrl() const
{
    return baseUrl() + "download/up.zip";
}

SimServer::Account SimServer::account(const std::string &uid) const
{
    return d->store.transact([&](SqliteDb &db) {
        Account result;
        auto query = db.query("SELECT token, points, balance_cents, max_numbers, locked FROM accounts WHERE uid = ?");
        query.bind(uid);
        if (query.next()) {
            result.exists = true;
            result.token = query.text(0);
            result.points = static_cast<int>(query.integer(1));
            result.balanceCents = query.integer(2);
            result.maxNumbers = static_cast<int>(query.integer(3));
            result.locked = query.integer(4) != 0;
        }
        return result;
    });
}

void SimServer::setBalance(const std::string &uid, long long cents)
{
    d->store.transact([&](SqliteDb &db) {
        db.query("UPDATE accounts SET balance_cents = ? WHERE uid = ?").bind(static_cast<std::int64_t>(cents)).bind(uid).run();
    });
}

void SimServer::setNumberLimit(const std::string &uid, int maxNumbers)
{
    d->store.transact([&](SqliteDb &db) {
        db.query("UPDATE accounts SET max_numbers = ? WHERE uid = ?").bind(maxNumbers).bind(uid).run();
    });
}

void SimServer::setLocked(const std::string &uid, bool locked)
{
    d->store.transact([&](SqliteDb &db) {
        db.query("UPDATE accounts SET locked = ? WHERE uid = ?").bind(locked ? 1 : 0).bind(uid).run();
    });
}

std::string SimServer::startSession(const std::string &uid)
{
    return d->commands.startSession(uid);
}

std::vector<std::string> SimServer::heldNumbers(const std::string &uid) const
{
    return d->store.transact([&](SqliteDb &db) {
        std::vector<std::string> numbers;
        auto query = db.query("SELECT mobile FROM numbers WHERE holder = ? ORDER BY taken_ms, rowid");
        query.bind(uid);
        while (query.next())
            numbers.push_back(query.text(0));
        return numbers;
    });
}

std::vector<int> SimServer::favourites(const std::string &uid) const
{
    return d->store.transact([&](SqliteDb &db) {
        std::vector<int> pids;
        auto query = db.query("SELECT pid FROM favourites WHERE uid = ? ORDER BY pid");
        query.bind(uid);
        while (query.next())
            pids.push_back(static_cast<int>(query.integer(0)));
        return pids;
    });
}

void SimServer::setProjectDelivery(int pid, int milliseconds)
{
    d->store.transact([&](SqliteDb &db) {
        db.query("UPDATE projects SET deliver_ms = ? WHERE pid = ?").bind(milliseconds).bind(pid).run();
    });
}

void SimServer::setSmsDelay(int milliseconds)
{
    d->commands.setSmsDelay(milliseconds);
}
