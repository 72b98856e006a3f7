// talvek-sim: the local platform the client talks to out of the box.
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <pthread.h>

namespace {

void usage()
{
    std::puts("usage: talvek-sim [--port N] [--db FILE|:memory:] [--reset] [--sms-delay MS]\n"
              "  --port       port on 127.0.0.1 (default 8866; 0: any free port)\n"
              "  --db         SQLite file (default: talvek-sim/sim.db in the user's data folder)\n"
              "  --reset      start again from the seeded demo\n"
              "  --sms-delay  milliseconds until a taken number gets its SMS (default 3000; <0: never)");
}

std::string defaultDatabase()
{
    std::filesystem::path folder;
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data)
        folder = data;
    else if (const char *home = std::getenv("HOME"); home && *home)
        folder = std::filesystem::path(home) / ".local" / "share";
    else
        folder = std::filesystem::temp_directory_path();
    folder /= "talvek-sim";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return (folder / "sim.db").string();
}

bool readNumber(const char *text, int &out)
{
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < -1000000000L || value > 1000000000L)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    SimServer::Options options;
    options.port = 8866;
    options.smsDelayMs = 3000;
    options.dbPath.clear();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--reset") {
            options.reset = true;
        } else if (arg == "--port" && hasValue && readNumber(argv[i + 1], options.port) && options.port >= 0
                   && options.port <= 65535) {
            ++i;
        } else if (arg == "--db" && hasValue) {
            options.dbPath = argv[++i];
        } else if (arg == "--sms-delay" && hasValue && readNumber(argv[i + 1], options.smsDelayMs)) {
            ++i;
        } else {
            usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    if (options.dbPath.empty())
        options.dbPath = defaultDatabase();

    // Signals are taken by sigwait below, never by the server's threads.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimServer server(options);
    if (!server.start()) {
        std::fprintf(stderr, "talvek-sim: cannot listen on 127.0.0.1:%d or open %s\n", options.port,
                     options.dbPath.c_str());
        return 1;
    }
    std::printf("talvek-sim listening on %s\n"
                "  database: %s\n"
                "  demo account: demo / demo123 (locked account: locked / locked123)\n"
                "  control surface: %ssim/...  (see README)\n"
                "Press Ctrl+C to stop.\n",
                server.baseUrl().c_str(), options.dbPath.c_str(), server.baseUrl().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    std::printf("talvek-sim: %s, stopping\n", received == SIGINT ? "interrupted" : "terminated");
    server.stop();
    return 0;
}
