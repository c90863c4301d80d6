// The embedded engine: a registry kept in an SQLite file.
#include "DbEngines.h"

#include "DbValues.h"
#include "Exception.h"
#include "QtSqlEngine.h"
#include "SqliteDialect.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <optional>

namespace {

// Date-times travel as text yyyy-mm-ddThh:nn:ss.zzz, so that they compare like the quoted literals
// of the queries; money travels as its exact decimal text.
QVariant SqliteValue(const QVariant& aValue)
{
    if (DbValues::IsNull(aValue))
        return aValue;
    const QMetaType type = aValue.metaType();
    if (type == QMetaType::fromType<TDateTime>() || type == QMetaType::fromType<QDateTime>()
        || type == QMetaType::fromType<QDate>())
        return DbValues::IsoDateTime(DbValues::ToDateTime(aValue));
    if (type == QMetaType::fromType<Currency>())
        return aValue.value<Currency>().ToString();
    return aValue;
}

// Reads rows straight from the statement, one at a time: a result of a million rows never sits in
// memory. The record count is asked of the database separately, and going back to the first row
// runs the statement again.
class TSqliteCursor : public TDbCursor
{
public:
    TSqliteCursor(const QSqlDatabase& aDatabase, TDbStatement aStatement)
        : fDatabase(aDatabase), fStatement(std::move(aStatement)), fQuery(aDatabase)
    {
        fQuery.setForwardOnly(true);
        TQtSqlEngine::Prepare(fQuery, fStatement.fText.PositionalSql());
        TQtSqlEngine::BindAll(fQuery, fStatement.fBindings, SqliteValue);
        TQtSqlEngine::ExecPrepared(fQuery);
        if (!fQuery.isSelect())
            throw Exception(QStringLiteral("CommandText does not return a result set"));
        const QSqlRecord record = fQuery.record();
        for (int i = 0; i < record.count(); ++i)
            fFieldNames << record.fieldName(i);
    }

    const QStringList& FieldNames() const override { return fFieldNames; }

    bool Next() override
    {
        if (fAtEnd)
            return false;
        if (fQuery.next())
            return true;
        // Past the last row the statement lets go of its read lock.
        fQuery.finish();
        fAtEnd = true;
        return false;
    }

    QVariant Value(int aIndex) const override { return TQtSqlEngine::ReadValue(fQuery.value(aIndex)); }

    int RecordCount() override
    {
        if (!fRecordCount)
            fRecordCount = CountRows();
        return *fRecordCount;
    }

    void Rewind() override
    {
        fQuery.finish();
        TQtSqlEngine::ExecPrepared(fQuery);
        fAtEnd = false;
    }

private:
    int CountRows()
    {
        QSqlQuery count(fDatabase);
        count.setForwardOnly(true);
        TQtSqlEngine::Prepare(count, QStringLiteral("select count(*) from (") + fStatement.fText.PositionalSql()
                                         + QStringLiteral("\n)"));
        TQtSqlEngine::BindAll(count, fStatement.fBindings, SqliteValue);
        TQtSqlEngine::ExecPrepared(count);
        return count.next() ? count.value(0).toInt() : 0;
    }

    QSqlDatabase fDatabase;
    TDbStatement fStatement;
    QSqlQuery fQuery;
    QStringList fFieldNames;
    std::optional<int> fRecordCount;
    bool fAtEnd = false;
};

class TSqliteCommand : public TDbPreparedCommand
{
public:
    TSqliteCommand(const QSqlDatabase& aDatabase, const QString& aSql) : fQuery(aDatabase)
    {
        TQtSqlEngine::Prepare(fQuery, aSql);
    }

    // For a statement the dialect answers, with the values it brought.
    TSqliteCommand(const QSqlDatabase& aDatabase, const TDbStatement& aStatement)
        : TSqliteCommand(aDatabase, aStatement.fText.PositionalSql())
    {
        fFixedBindings = aStatement.fBindings;
    }

    int Execute(const std::vector<TDbParam>& aBindings) override
    {
        TQtSqlEngine::BindAll(fQuery, fFixedBindings ? *fFixedBindings : aBindings, SqliteValue);
        TQtSqlEngine::ExecPrepared(fQuery);
        int affected = fQuery.numRowsAffected();
        fQuery.finish();
        return affected;
    }

private:
    QSqlQuery fQuery;
    std::optional<std::vector<TDbParam>> fFixedBindings;
};

class TSqliteEngine : public TQtSqlEngine
{
public:
    explicit TSqliteEngine(QString aFileName)
        : TQtSqlEngine(QStringLiteral("QSQLITE")), fFileName(std::move(aFileName))
    {
    }

    void Open() override
    {
        QFileInfo file(fFileName);
        if (fFileName.isEmpty() || !file.isFile())
            throw Exception(QStringLiteral("Database file \"%1\" not found").arg(fFileName));
        QSqlDatabase db = Database();
        db.setDatabaseName(file.absoluteFilePath());
        OpenDatabase();
        // Opening does not read the file; the first query tells whether it is a database at all.
        bool valid = false;
        QSqlError error;
        {
            QSqlQuery probe(db);
            valid = probe.exec(QStringLiteral("select count(*) from sqlite_master"));
            error = probe.lastError();
        }
        if (!valid) {
            Close();
            Raise(error);
        }
        fSession.fLoginTime = TDateTime::Now();
        fSession.fProcessId = QCoreApplication::applicationPid();
    }

    std::unique_ptr<TDbCursor> OpenCursor(const TDbStatement& aStatement) override
    {
        if (auto translated = SqliteDialect::Translate(aStatement.fText.Sql(), fSession))
            return std::make_unique<TSqliteCursor>(Database(), std::move(*translated));
        return std::make_unique<TSqliteCursor>(Database(), aStatement);
    }

    std::unique_ptr<TDbPreparedCommand> PrepareCommand(const TDbSqlText& aText, int) override
    {
        // A local file has no server to wait for: the command time-out has nothing to bound.
        if (auto translated = SqliteDialect::Translate(aText.Sql(), fSession))
            return std::make_unique<TSqliteCommand>(Database(), *translated);
        return std::make_unique<TSqliteCommand>(Database(), aText.PositionalSql());
    }

private:
    QString fFileName;
    SqliteDialect::TSession fSession;
};

}

std::unique_ptr<TDbEngine> CreateSqliteEngine(const QString& aFileName)
{
    return std::make_unique<TSqliteEngine>(aFileName);
}
