#pragma once

#include "ScriptedSqlServer.h"
#include "TDateTime.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The back-office SQL Server a test talks to: the scripted stand-in, where each statement is
// checked against the expectations and answered with their rows; or the real server named by the
// ODBC connection string in SAFT_TEST_MSSQL (a scratch database), where the tables the test
// declares are made and filled (and dropped afterwards), the server answers, and the statements
// sent are still compared with the expectations, in order.
class TBackOfficeServer
{
public:
    // A real server only when one is given.
    explicit TBackOfficeServer(bool aReal);
    ~TBackOfficeServer();

    static bool RealServerGiven();
    bool IsReal() const { return fReal != nullptr; }
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
    // A function the statements call: "create function <aName> <aDefinition>", dropped afterwards.
    // The stand-in has nothing to make.
    void Function(const QString& aName, const QString& aDefinition);
    // A statement run on the real server before the test acts (nothing on the stand-in).
    void Setup(const QString& aSql);

    // Scripted only: the settings the last connection was opened with, the connections opened,
    // and the statements received.
    const TDbConnectionSettings& LastSettings() const;
    int Connections() const;
    const std::vector<TScriptedCall>& Calls() const;
    // The expected text, or on a real server a pattern where each "{n}" stands for a number.
    QString ScriptedOr(const QString& aScripted, const QString& aRealPattern) const;

private:
    struct TRealServer;
    std::unique_ptr<TScriptedSqlServer> fScripted;
    std::unique_ptr<TRealServer> fReal;
};

