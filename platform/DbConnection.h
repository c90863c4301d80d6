#pragma once

#include "DbConnectionSettings.h"
#include "DbEngine.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TDbConnection;

// Something that works on a connection (a dataset, a command): it is told when the connection
// closes, so that it lets go of what the engine gave it, and it outlives its connection safely.
class TDbClient
{
public:
    TDbClient(const TDbClient&) = delete;
    TDbClient& operator=(const TDbClient&) = delete;

protected:
    explicit TDbClient(TDbConnection& aConnection);
    virtual ~TDbClient();
    // Raises "Connection is not open" when the connection is closed or gone.
    TDbEngine& Engine() const;
    virtual void ConnectionClosing() = 0;

private:
    friend class TDbConnection;
    TDbConnection* fConnection;
};

// One database connection. The connection string keeps the settings' own vocabulary
// ("Data Source=...;Initial Catalog=...;User ID=...;Password=..." or "Integrated Security=SSPI");
// the engine behind it is chosen when the connection opens: the embedded SQLite engine for the
// data source "sqlite", SQL Server through ODBC otherwise.
class TDbConnection
{
public:
    using TEngineFactory = std::function<std::unique_ptr<TDbEngine>(const TDbConnectionSettings&)>;

    TDbConnection() = default;
    ~TDbConnection();
    TDbConnection(const TDbConnection&) = delete;
    TDbConnection& operator=(const TDbConnection&) = delete;

    const QString& ConnectionString() const { return fConnectionString; }
    void SetConnectionString(const QString& aValue) { fConnectionString = aValue; }
    // The name under which the connection shows on the server; empty sets none.
    const QString& ApplicationName() const { return fApplicationName; }
    void SetApplicationName(const QString& aValue) { fApplicationName = aValue; }

    // Raises an Exception with the driver's message when the database cannot be reached.
    void Open();
    // Closes every dataset and command of the connection first.
    void Close();
    bool Connected() const;

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return fInTransaction; }

    // The engines in use for every connection opened from now on; returns the factory it
    // replaces. An empty factory restores the default choice.
    static TEngineFactory InstallEngineFactory(TEngineFactory aFactory);
    static std::unique_ptr<TDbEngine> CreateDefaultEngine(const TDbConnectionSettings& aSettings);

private:
    friend class TDbClient;
    TDbEngine& OpenEngine() const;

    QString fConnectionString;
    QString fApplicationName;
    std::unique_ptr<TDbEngine> fEngine;
    std::vector<TDbClient*> fClients;
    bool fInTransaction = false;
};
