#pragma once

#include "ScriptedSqlServer.h"
#include "TDateTime.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The back-office SQL Server a test talks to. By default the scripted stand-in: each statement is
// checked against the expectations and answered with their rows. When SAFT_TEST_MSSQL holds an
// ODBC connection string (of a scratch database), the same test runs against that server: the
// tables it declares are made and filled there (and dropped afterwards), the server answers, and
// the statements sent are still compared with the expectations, in order.
class TBackOfficeServer
{
public:
    TBackOfficeServer();
    ~TBackOfficeServer();

    static bool Real();
    // The session a scripted connection reports.
    static constexpr int kSpid = 55;
    static TDateTime LoginTime() { return TDateTime::EncodeDateTime(2024, 5, 6, 7, 8, 9, 10); }

    // The next statement, and the rows the stand-in answers it with.
    void Expect(const QString& aSql, TScriptedRows aRows = {});
    // The next statement, which fails (on a real server with the server's own message).
    void ExpectFailure(const QString& aSql, const QString& aMessage);
    // The session query every Connect sends first.
    void ExpectConnect();
    // The next connection attempt fails (scripted only).
    void RefuseConnection(const QString& aMessage);

    // A table the statements read: "create table <aName> (<aColumns>)", then one insert per
    // "values" text. The stand-in has nothing to make.
    void Table(const QString& aName, const QString& aColumns, const QStringList& aValues = {});
    // A statement run on the real server before the test acts (nothing on the stand-in).
    void Setup(const QString& aSql);

    // Scripted only: the settings the last connection was opened with, the connections opened,
    // and the statements received.
    const TDbConnectionSettings& LastSettings() const;
    int Connections() const;
    const std::vector<TScriptedCall>& Calls() const;
    // The expected text, or on a real server a pattern where each "{n}" stands for a number.
    static QString ScriptedOr(const QString& aScripted, const QString& aRealPattern);

private:
    struct TRealServer;
    std::unique_ptr<TScriptedSqlServer> fScripted;
    std::unique_ptr<TRealServer> fReal;
};

// Skips the rest of a test that only the stand-in can play (a refused connection, a chosen
// session), with the reason.
#define SKIP_WHEN_REAL_SERVER(aReason)                                                  \
    do {                                                                                \
        if (TBackOfficeServer::Real())                                                  \
            GTEST_SKIP() << "scripted only: " << (aReason);                             \
    } while (false)
