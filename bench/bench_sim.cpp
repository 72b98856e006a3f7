// Requests per second the simulator sustains on loopback: 200 client threads, one keep-alive
// connection each, against one in-process SimServer.
// Run: build/release/bench/bench_sim --benchmark_min_time=5
#include "SimServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdint>
#include <string>

namespace {

struct Platform
{
    SimServer server;
    std::string token;
    std::string mobile;

    Platform()
    {
        server.start();
        token = server.startSession("demo");
        httplib::Client client("127.0.0.1", server.port());
        const auto reply = client.Get("/http.aspx?action=getinfo&uid=demo&token=" + token + "&pid=1&lock=0&size=1&mobile=");
        mobile = reply ? reply->body.substr(0, reply->body.find('|')) : std::string();
    }
};

Platform &platform()
{
    static Platform instance;
    return instance;
}

void runRequests(benchmark::State &state, const std::string &target)
{
    httplib::Client client("127.0.0.1", platform().server.port());
    client.set_keep_alive(true);
    client.set_url_encode(false);
    std::int64_t failed = 0;
    for (auto _ : state) {
        const auto reply = client.Get(target);
        if (!reply || reply->status != 200)
            ++failed; // the next request opens a new connection
    }
    state.counters["failed"] = benchmark::Counter(static_cast<double>(failed), benchmark::Counter::kAvgThreads);
    state.SetItemsProcessed(state.iterations());
}

void BM_AccountLine(benchmark::State &state)
{
    runRequests(state, "/http.aspx?action=getUserInfos&uid=demo&token=" + platform().token + "&");
}

void BM_SmsPoll(benchmark::State &state)
{
    runRequests(state, "/http.aspx?action=getVcodeAndHoldMobilenum&uid=demo&token=" + platform().token
                           + "&pid=1&mobile=" + platform().mobile);
}

} // namespace

BENCHMARK(BM_AccountLine)->Threads(200)->UseRealTime();
BENCHMARK(BM_SmsPoll)->Threads(200)->UseRealTime();

BENCHMARK_MAIN();
