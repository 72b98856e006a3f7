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

// The settings in memory and the code extraction.
class TSysInfo
{
public:
    TSysInfo();

    QStringList SLKey;
    bool AutoGetCode = true;
    qint8 CodeType = 0;
    bool WinTop = false;

    const QString &GetKey() const { return _GetKey; }
    // Stores the text as typed and rebuilds SLKey from it.
    void SetGetKey(const QString &value);
    qint32 GetCodeTime() const { return _GetCodeTime; }
    // Values below 1 store 1.
    void SetGetCodeTime(qint32 value);

    // The verification code in an SMS text, or the empty text when there is none.
    QString GetCodeBySms(const QString &sms) const;

private:
    QString _GetKey;
    qint32 _GetCodeTime = 3;
};
