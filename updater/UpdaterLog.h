#pragma once

#include <QString>

// The updater's log in the program folder: one time-stamped line per step, appended, UTF-8,
// so a user or support can see what the last update did or why it refused.
class UpdaterLog
{
public:
    explicit UpdaterLog(const QString &path);
    void write(const QString &line) const;

private:
    QString path_;
};
