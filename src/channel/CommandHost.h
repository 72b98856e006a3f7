#pragma once

#include <QString>

// What the tab frames need of the main window's command channel.
class TCommandHost
{
public:
    // Sends a platform command; the reply comes back through the main window's dispatcher.
    // surl: the command's own "name=value" pairs joined by "&", values already EncodeParam'd.
    virtual void ExecCMD(const QString &cmd, const QString &surl, qint32 isleep) = 0;
    // The main window's bfavloaded flag.
    virtual bool FavLoaded() const = 0;
    virtual void SetFavLoaded(bool loaded) = 0;

protected:
    ~TCommandHost() = default;
};
