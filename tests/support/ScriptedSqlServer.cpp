#include "ScriptedSqlServer.h"

#include "Exception.h"

#include <QRegularExpression>
#include <deque>
#include <gtest/gtest.h>

bool ScriptedStatementMatches(const QString& aExpected, const QString& aSql)
{
    if (!aExpected.contains(QLatin1String("{now}")) && !aExpected.contains(QLatin1String("{n}")))
        return aExpected == aSql;
    static const QRegularExpression kMarks(QStringLiteral(R"(\{now\}|\{n\})"));
    QString pattern = QStringLiteral("^");
    qsizetype from = 0;
    for (auto it = kMarks.globalMatch(aExpected); it.hasNext();) {
        const auto m = it.next();
        pattern += QRegularExpression::escape(aExpected.mid(from, m.capturedStart() - from));
        pattern += m.captured() == u"{n}" ? QStringLiteral(R"(-?\d+)")
                                          : QStringLiteral(R"('\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}')");
        from = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(aExpected.mid(from)) + u'$';
    return QRegularExpression(pattern).match(aSql).hasMatch();
}

struct TScriptedSqlServer::State
{
    struct Expectation
    {
        QString fSql;
        TScriptedRows fRows;
        QString fFailure;
    };

    std::deque<Expectation> fScript;
    std::vector<TScriptedCall> fCalls;
    TDbConnectionSettings fLastSettings;
    int fConnections = 0;
    QString fRefusal;

    // Takes the next expectation for a statement; raises when the statement is out of script.
    Expectation Take(const TDbSqlText& aText, const std::vector<TDbParam>& aBindings, int aTimeout)
    {
        fCalls.push_back({aText.Sql(), aBindings, aTimeout});
        if (fScript.empty()) {
            ADD_FAILURE() << "Unexpected statement: " << aText.Sql().toStdString();
            throw Exception(QStringLiteral("Scripted server: unexpected statement"));
        }
        Expectation next = fScript.front();
        fScript.pop_front();
        if (!ScriptedStatementMatches(next.fSql, aText.Sql())) {
            ADD_FAILURE() << "Statement differs from the script\n  expected: " << next.fSql.toStdString()
                          << "\n  received: " << aText.Sql().toStdString();
            throw Exception(QStringLiteral("Scripted server: statement differs from the script"));
        }
        if (!next.fFailure.isEmpty())
            throw Exception(next.fFailure);
        return next;
    }
};

namespace {

class TScriptedCommand : public TDbPreparedCommand
{
public:
    TScriptedCommand(std::shared_ptr<TScriptedSqlServer::State> aState, TDbSqlText aText, int aTimeout)
        : fState(std::move(aState)), fText(std::move(aText)), fTimeout(aTimeout)
    {
    }

    int Execute(const std::vector<TDbParam>& aBindings) override
    {
        return int(fState->Take(fText, aBindings, fTimeout).fRows.fRows.size());
    }

private:
    std::shared_ptr<TScriptedSqlServer::State> fState;
    TDbSqlText fText;
    int fTimeout;
};

class TScriptedEngine : public TDbEngine
{
public:
    explicit TScriptedEngine(std::shared_ptr<TScriptedSqlServer::State> aState) : fState(std::move(aState)) {}

    void Open() override
    {
        if (!fState->fRefusal.isEmpty())
            throw Exception(std::exchange(fState->fRefusal, QString()));
        ++fState->fConnections;
        fOpen = true;
    }
    void Close() override { fOpen = false; }
    bool IsOpen() const override { return fOpen; }

    std::unique_ptr<TDbCursor> OpenCursor(const TDbStatement& aStatement) override
    {
        TScriptedRows rows = fState->Take(aStatement.fText, aStatement.fBindings, aStatement.fTimeout).fRows;
        std::vector<QVariant> cells;
        for (const QVariantList& row : rows.fRows) {
            EXPECT_EQ(row.size(), rows.fFields.size()) << "scripted row of the wrong width";
            for (int i = 0; i < rows.fFields.size(); ++i)
                cells.push_back(row.value(i));
        }
        return std::make_unique<TDbMemoryCursor>(rows.fFields, std::move(cells));
    }

    std::unique_ptr<TDbPreparedCommand> PrepareCommand(const TDbSqlText& aText, int aTimeout) override
    {
        return std::make_unique<TScriptedCommand>(fState, aText, aTimeout);
    }

    void BeginTransaction() override {}
    void CommitTransaction() override {}
    void RollbackTransaction() override {}

private:
    std::shared_ptr<TScriptedSqlServer::State> fState;
    bool fOpen = false;
};

}

TScriptedSqlServer::TScriptedSqlServer() : fState(std::make_shared<State>())
{
    fPrevious = TDbConnection::InstallEngineFactory([state = fState](const TDbConnectionSettings& aSettings) {
        state->fLastSettings = aSettings;
        return std::make_unique<TScriptedEngine>(state);
    });
}

TScriptedSqlServer::~TScriptedSqlServer()
{
    TDbConnection::InstallEngineFactory(std::move(fPrevious));
    for (const State::Expectation& e : fState->fScript)
        ADD_FAILURE() << "Expected statement never came: " << e.fSql.toStdString();
}

TScriptedSqlServer& TScriptedSqlServer::Expect(const QString& aSql, TScriptedRows aRows)
{
    fState->fScript.push_back({aSql, std::move(aRows), QString()});
    return *this;
}

TScriptedSqlServer& TScriptedSqlServer::ExpectFailure(const QString& aSql, const QString& aMessage)
{
    fState->fScript.push_back({aSql, {}, aMessage});
    return *this;
}

void TScriptedSqlServer::RefuseConnection(const QString& aMessage)
{
    fState->fRefusal = aMessage;
}

const TDbConnectionSettings& TScriptedSqlServer::LastSettings() const { return fState->fLastSettings; }
int TScriptedSqlServer::Connections() const { return fState->fConnections; }
const std::vector<TScriptedCall>& TScriptedSqlServer::Calls() const { return fState->fCalls; }
int TScriptedSqlServer::Pending() const { return int(fState->fScript.size()); }
