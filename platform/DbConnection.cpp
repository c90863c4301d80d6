#include "DbConnection.h"

#include "DbEngines.h"
#include "Exception.h"

#include <algorithm>

namespace {
TDbConnection::TEngineFactory& EngineFactory()
{
    static TDbConnection::TEngineFactory factory;
    return factory;
}
}

TDbClient::TDbClient(TDbConnection& aConnection) : fConnection(&aConnection)
{
    aConnection.fClients.push_back(this);
}

TDbClient::~TDbClient()
{
    if (fConnection)
        std::erase(fConnection->fClients, this);
}

TDbEngine& TDbClient::Engine() const
{
    if (!fConnection)
        throw Exception(QStringLiteral("Connection is not open"));
    return fConnection->OpenEngine();
}

TDbConnection::~TDbConnection()
{
    Close();
    for (TDbClient* client : fClients)
        client->fConnection = nullptr;
}

void TDbConnection::Open()
{
    if (Connected())
        return;
    TDbConnectionSettings settings = TDbConnectionSettings::Parse(fConnectionString);
    if (!fApplicationName.isEmpty())
        settings.fApplicationName = fApplicationName;
    const TEngineFactory& factory = EngineFactory();
    std::unique_ptr<TDbEngine> engine = factory ? factory(settings) : CreateDefaultEngine(settings);
    engine->Open();
    fEngine = std::move(engine);
}

void TDbConnection::Close()
{
    // A client may detach itself while it lets go, so walk over a copy.
    const std::vector<TDbClient*> clients = fClients;
    for (TDbClient* client : clients)
        client->ConnectionClosing();
    if (fEngine)
        fEngine->Close();
    fEngine.reset();
    fInTransaction = false;
}

bool TDbConnection::Connected() const
{
    return fEngine && fEngine->IsOpen();
}

TDbEngine& TDbConnection::OpenEngine() const
{
    if (!Connected())
        throw Exception(QStringLiteral("Connection is not open"));
    return *fEngine;
}

void TDbConnection::BeginTrans()
{
    if (fInTransaction)
        throw Exception(QStringLiteral("A transaction is already active"));
    OpenEngine().BeginTransaction();
    fInTransaction = true;
}

void TDbConnection::CommitTrans()
{
    if (!fInTransaction)
        throw Exception(QStringLiteral("No transaction is active"));
    OpenEngine().CommitTransaction();
    fInTransaction = false;
}

void TDbConnection::RollbackTrans()
{
    if (!fInTransaction)
        throw Exception(QStringLiteral("No transaction is active"));
    fInTransaction = false;
    OpenEngine().RollbackTransaction();
}

TDbConnection::TEngineFactory TDbConnection::InstallEngineFactory(TEngineFactory aFactory)
{
    return std::exchange(EngineFactory(), std::move(aFactory));
}

std::unique_ptr<TDbEngine> TDbConnection::CreateDefaultEngine(const TDbConnectionSettings& aSettings)
{
    if (aSettings.IsEmbedded())
        return CreateSqliteEngine(aSettings.fDatabase);
    return CreateOdbcEngine(OdbcConnectionString(aSettings));
}
