#pragma once

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

class SimServer;

// The HTTP form of the simulator's control surface under /sim/ (routes in the README), for
// driving a running talvek-sim by hand or from scripts. Loopback callers only.
class ControlSurface
{
public:
    explicit ControlSurface(SimServer &server);
    void handle(const httplib::Request &request, httplib::Response &response);

private:
    SimServer &server_;
};
