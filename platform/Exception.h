#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

// The one error type of the system: it carries the message shown to the user or written to the log.
class Exception : public std::exception
{
public:
    explicit Exception(QString aMessage) : fMessage(std::move(aMessage)), fUtf8(fMessage.toUtf8()) {}

    const QString& Message() const noexcept { return fMessage; }
    const char* what() const noexcept override { return fUtf8.constData(); }

private:
    QString fMessage;
    QByteArray fUtf8;
};

// The silent cancel: handlers pass it by without showing anything.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};
