#pragma once

#include "DbConnection.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

// The rows a scripted statement answers with.
struct TScriptedRows
{
    QStringList fFields;
    std::vector<QVariantList> fRows;
};

// Whether a statement reads as an expectation says; in the expectation "{now}" stands for any
// quoted date-time literal 'yyyy-mm-ddThh:nn:ss.zzz' and "{n}" for any whole number.
bool ScriptedStatementMatches(const QString& aExpected, const QString& aSql);

// One statement the stand-in received.
struct TScriptedCall
{
    QString fSql;
    std::vector<TDbParam> fBindings;
    int fTimeout = 0;
};

// A SQL Server stand-in for tests. For as long as it lives every connection that opens talks to
// it: each statement must read exactly as the next expectation says, and gets the rows the test
// gave. A statement out of script fails the test and raises.
class TScriptedSqlServer
{
public:
    TScriptedSqlServer();
    // Fails the test when expectations are left over.
    ~TScriptedSqlServer();
    TScriptedSqlServer(const TScriptedSqlServer&) = delete;
    TScriptedSqlServer& operator=(const TScriptedSqlServer&) = delete;

    TScriptedSqlServer& Expect(const QString& aSql, TScriptedRows aRows = {});
    TScriptedSqlServer& ExpectFailure(const QString& aSql, const QString& aMessage);
    // The next connection attempt fails with aMessage.
    void RefuseConnection(const QString& aMessage);

    // The settings of the last connection opened, and how many were opened.
    const TDbConnectionSettings& LastSettings() const;
    int Connections() const;
    const std::vector<TScriptedCall>& Calls() const;
    // Expectations not yet met.
    int Pending() const;

    struct State;

private:
    std::shared_ptr<State> fState;
    TDbConnection::TEngineFactory fPrevious;
};
