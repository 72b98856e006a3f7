#pragma once

#include <httplib.h>

#include <QString>
#include <QStringList>

#include <string>

// A plain HTTP client for the simulator tests: sends the target exactly as given.
struct SimHttp
{
    struct Reply
    {
        bool ok = false; // a reply came at all
        int status = 0;
        std::string body;
        std::string contentType;
        QString text() const { return QString::fromStdString(body); }
    };

    static Reply get(int port, const std::string &target)
    {
        httplib::Client client("127.0.0.1", port);
        client.set_url_encode(false);
        client.set_read_timeout(10, 0);
        Reply reply;
        if (auto result = client.Get(target)) {
            reply.ok = true;
            reply.status = result->status;
            reply.body = result->body;
            reply.contentType = result->get_header_value("Content-Type");
        }
        return reply;
    }
};
