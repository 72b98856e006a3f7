#pragma once

#include <QString>
#include <QStringList>

// The session: filled by the settings load and the login; nothing clears it at logout but the
// token.
class TUserInfo
{
public:
    QString user;
    QString pwd;
    QString token;
    bool repwd = false;
    bool autologin = false;
    qint32 MaxMobNum = 0;
    qint32 jifen = 0;
    double Money = 0;
};

// The settings in memory and the code extraction. Everything starts empty, false or zero until
// the settings file is loaded.
class TSysInfo
{
public:
    TSysInfo() = default;

    QStringList SLKey;
    bool AutoGetCode = false;
    qint8 CodeType = 0;
    bool WinTop = false;

    const QString &GetKey() const { return _GetKey; }
    // Stores the text as typed and rebuilds SLKey from it: full-width commas count as commas,
    // blanks split a keyword unless it is quoted, empty items are kept.
    void SetGetKey(const QString &value);
    qint32 GetCodeTime() const { return _GetCodeTime; }
    // Values below 1 store 1.
    void SetGetCodeTime(qint32 value);

    // The 4 to 8 code characters nearest to the first occurrence of the first keyword that has
    // such a run beside it, or the empty text. Reads SLKey and CodeType only.
    QString GetCodeBySms(const QString &str) const;

private:
    QString _GetKey;
    qint32 _GetCodeTime = 0;
};
