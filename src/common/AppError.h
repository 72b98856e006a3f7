#pragma once

#include <QString>
#include <stdexcept>

// The program's general error: carries the message text that callers show or test.
class TAppError : public std::runtime_error
{
public:
    explicit TAppError(const QString &message)
        : std::runtime_error(message.toStdString()), sMessage(message)
    {
    }
    const QString &Message() const { return sMessage; }

private:
    QString sMessage;
};
