#pragma once

#include "DbConnectionSettings.h"
#include "DbEngine.h"

#include <QString>
#include <memory>

// The engines behind a connection.

// SQL Server through ODBC, opened with an ODBC connection string.
std::unique_ptr<TDbEngine> CreateOdbcEngine(const QString& aOdbcConnectionString);
// The ODBC connection string for the settings: the driver is SAFT_ODBC_DRIVER when set ("FreeTDS"
// on Linux, "SQL Server" on Windows otherwise); integrated security becomes a trusted connection;
// a "host,port" data source is split for FreeTDS, which takes the port on its own.
QString OdbcConnectionString(const TDbConnectionSettings& aSettings);

// The embedded engine over an existing SQLite file (a path relative to the current directory);
// a missing file is a connection failure, never a new empty database.
std::unique_ptr<TDbEngine> CreateSqliteEngine(const QString& aFileName);
