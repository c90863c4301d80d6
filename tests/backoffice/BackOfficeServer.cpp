#include "BackOfficeServer.h"

#include "DbEngines.h"
#include "DbValues.h"
#include "Exception.h"

#include <gtest/gtest.h>

namespace {

QString RealConnectionString()
{
    return qEnvironmentVariable("SAFT_TEST_MSSQL");
}

// A real engine that writes down every statement it is given.
class TRecordingEngine : public TDbEngine
{
public:
    TRecordingEngine(std::unique_ptr<TDbEngine> aInner, std::shared_ptr<QStringList> aLog)
        : fInner(std::move(aInner)), fLog(std::move(aLog))
    {
    }
    void Open() override { fInner->Open(); }
    void Close() override { fInner->Close(); }
    bool IsOpen() const override { return fInner->IsOpen(); }
    std::unique_ptr<TDbCursor> OpenCursor(const TDbStatement& aStatement) override
    {
        *fLog << aStatement.fText.Sql();
        return fInner->OpenCursor(aStatement);
    }
    std::unique_ptr<TDbPreparedCommand> PrepareCommand(const TDbSqlText& aText, int aTimeout) override
    {
        return std::make_unique<TRecordingCommand>(fInner->PrepareCommand(aText, aTimeout), aText.Sql(), fLog);
    }
    void BeginTransaction() override { fInner->BeginTransaction(); }
    void CommitTransaction() override { fInner->CommitTransaction(); }
    void RollbackTransaction() override { fInner->RollbackTransaction(); }

private:
    struct TRecordingCommand : TDbPreparedCommand
    {
        TRecordingCommand(std::unique_ptr<TDbPreparedCommand> aInner, QString aSql, std::shared_ptr<QStringList> aLog)
            : fInner(std::move(aInner)), fSql(std::move(aSql)), fLog(std::move(aLog))
        {
        }
        int Execute(const std::vector<TDbParam>& aBindings) override
        {
            *fLog << fSql;
            return fInner->Execute(aBindings);
        }
        std::unique_ptr<TDbPreparedCommand> fInner;
        QString fSql;
        std::shared_ptr<QStringList> fLog;
    };

    std::unique_ptr<TDbEngine> fInner;
    std::shared_ptr<QStringList> fLog;
};

}

struct TBackOfficeServer::TRealServer
{
    TRealServer() : fSetup(CreateOdbcEngine(RealConnectionString()))
    {
        fSetup->Open();
        fPrevious = TDbConnection::InstallEngineFactory([log = fLog](const TDbConnectionSettings&) {
            return std::make_unique<TRecordingEngine>(CreateOdbcEngine(RealConnectionString()), log);
        });
    }

    ~TRealServer()
    {
        TDbConnection::InstallEngineFactory(std::move(fPrevious));
        for (const QString& drop : fDrops)
            Run(drop);
        const qsizetype n = std::max(fExpected.size(), fLog->size());
        for (qsizetype i = 0; i < n; ++i)
            if (!ScriptedStatementMatches(fExpected.value(i), fLog->value(i)))
                ADD_FAILURE() << "Statement " << i + 1 << " differs\n  expected: " << fExpected.value(i).toStdString()
                              << "\n  sent:     " << fLog->value(i).toStdString();
    }

    // Makes a table or function of the test: drops what is left from an earlier run, creates it,
    // and drops it again afterwards.
    void Make(const QString& aKind, const QString& aName, const QString& aCreate)
    {
        const QString drop = QStringLiteral("if not object_id('%1') is null drop %2 %1").arg(aName, aKind);
        Run(drop);
        Run(aCreate);
        fDrops << drop;
    }

    void Run(const QString& aSql)
    {
        try {
            fSetup->PrepareCommand(TDbSqlText(aSql), 0)->Execute({});
        } catch (const Exception& e) {
            ADD_FAILURE() << "Setup statement failed: " << aSql.toStdString() << "\n  " << e.what();
        }
    }

    std::unique_ptr<TDbEngine> fSetup;
    std::shared_ptr<QStringList> fLog = std::make_shared<QStringList>();
    QStringList fExpected;
    QStringList fDrops;   // what the test made, undone afterwards
    TDbConnection::TEngineFactory fPrevious;
};

TBackOfficeServer::TBackOfficeServer(bool aReal)
{
    if (aReal && RealServerGiven())
        fReal = std::make_unique<TRealServer>();
    else
        fScripted = std::make_unique<TScriptedSqlServer>();
}

TBackOfficeServer::~TBackOfficeServer() = default;

bool TBackOfficeServer::RealServerGiven()
{
    return !RealConnectionString().isEmpty();
}

void TBackOfficeServer::Expect(const QString& aSql, TScriptedRows aRows)
{
    if (fReal)
        fReal->fExpected << aSql;
    else
        fScripted->Expect(aSql, std::move(aRows));
}

void TBackOfficeServer::ExpectFailure(const QString& aSql, const QString& aMessage)
{
    if (fReal)
        fReal->fExpected << aSql;
    else
        fScripted->ExpectFailure(aSql, aMessage);
}

void TBackOfficeServer::ExpectConnect()
{
    Expect(QStringLiteral("select login_time,spid from master..sysprocesses where spid=@@spid"),
           {{"login_time", "spid"}, {{QVariant::fromValue(LoginTime()), kSpid}}});
}

void TBackOfficeServer::RefuseConnection(const QString& aMessage)
{
    if (fScripted)
        fScripted->RefuseConnection(aMessage);
}

void TBackOfficeServer::Table(const QString& aName, const QString& aColumns, const QStringList& aValues)
{
    if (!fReal)
        return;
    fReal->Make(QStringLiteral("table"), aName, QStringLiteral("create table %1 (%2)").arg(aName, aColumns));
    for (const QString& values : aValues)
        fReal->Run(QStringLiteral("insert %1 values (%2)").arg(aName, values));
}

void TBackOfficeServer::Function(const QString& aName, const QString& aDefinition)
{
    if (!fReal)
        return;
    fReal->Make(QStringLiteral("function"), aName, QStringLiteral("create function %1 %2").arg(aName, aDefinition));
}

void TBackOfficeServer::Setup(const QString& aSql)
{
    if (fReal)
        fReal->Run(aSql);
}

const TDbConnectionSettings& TBackOfficeServer::LastSettings() const
{
    static const TDbConnectionSettings kNone;
    return fScripted ? fScripted->LastSettings() : kNone;
}

int TBackOfficeServer::Connections() const
{
    return fScripted ? fScripted->Connections() : 0;
}

const std::vector<TScriptedCall>& TBackOfficeServer::Calls() const
{
    static const std::vector<TScriptedCall> kNone;
    return fScripted ? fScripted->Calls() : kNone;
}

QString TBackOfficeServer::ScriptedOr(const QString& aScripted, const QString& aRealPattern) const
{
    return IsReal() ? aRealPattern : aScripted;
}
