#pragma once

#include "DbStatement.h"
#include "TDateTime.h"

#include <QString>
#include <optional>

// The few session and catalogue statements that only SQL Server understands, answered with their
// SQLite equivalents, so that the same callers work on an embedded registry file:
// the session query on master..sysprocesses with @@spid, SELECT @@SERVERNAME, @@rowcount,
// object_id() existence tests, drop-if-exists, and the column list from sys.columns.
namespace SqliteDialect {

// What the session query answers with on the embedded engine.
struct TSession
{
    TDateTime fLoginTime;
    qint64 fProcessId = 0;
};

// The SQLite statement standing for aSql, or nothing when aSql is none of those statements.
std::optional<TDbStatement> Translate(const QString& aSql, const TSession& aSession);

}
