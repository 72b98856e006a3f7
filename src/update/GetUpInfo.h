#pragma once

#include <QString>

#include <optional>

// One answer of the update check: the addresses of a new client package and of a new updater.
class TGetUpInfo
{
public:
    QString DownUrl; // the client package, or empty
    QString UpUrl;   // the updater package, or empty

    // The answer a reply carries; none when the reply is blank or has fewer than two fields.
    // Fields are split at "`" as SplitList does; a field counts only as a web address.
    static std::optional<TGetUpInfo> FromReply(QStringView reply);
    // http and https addresses are taken (found anywhere in the field, case-sensitive).
    static bool IsWebAddress(const QString &field);
};
