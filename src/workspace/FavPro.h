#pragma once

#include <QString>

// One favourite project as the platform lists it.
class TFavPro
{
public:
    qint32 PID = 0;
    QString PName;
    double Cost = 0;
    qint32 Protype = 0;
    QString Info;
    QString RecvMob;

    const QString &PUrl() const { return _PUrl; }
    // An address without an http(s) scheme gets "http://" in front.
    void SetPUrl(const QString &value);

    void Clear();
    // Copies every field, the address as stored.
    void Copy(const TFavPro &src);

private:
    QString _PUrl;
};
