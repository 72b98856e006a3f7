#pragma once

#include <QString>

// What one update downloads.
class TUpDateInfo
{
public:
    bool isplayer = false;  // a new client package is to be downloaded
    QString PlayerUrl;
    bool isupdate = false;  // a new updater package as well
    QString UpdateUrl;
};
