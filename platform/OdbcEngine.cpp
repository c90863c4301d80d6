// SQL Server through ODBC (unixODBC with FreeTDS on Linux, the system's driver on Windows).
#include "DbEngines.h"

#include "DbValues.h"
#include "Environment.h"
#include "Exception.h"
#include "QtSqlEngine.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QSqlResult>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

namespace {

QVariant OdbcValue(const QVariant& aValue)
{
    if (DbValues::IsNull(aValue))
        return aValue;
    const QMetaType type = aValue.metaType();
    if (type == QMetaType::fromType<TDateTime>())
        return aValue.value<TDateTime>().ToQDateTime();
    if (type == QMetaType::fromType<Currency>())
        return aValue.value<Currency>().ToString();
    return aValue;
}

SQLHANDLE HandleOf(const QVariant& aHandle)
{
    if (aHandle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return nullptr;
    return *static_cast<const SQLHANDLE*>(aHandle.constData());
}

// The command time-out of ODBC belongs to the statement, which Qt allocates inside each direct
// execution; set on the connection it becomes the default of every statement allocated afterward.
void SetConnectionTimeout(const QSqlDatabase& aDatabase, int aSeconds)
{
    if (SQLHANDLE dbc = HandleOf(aDatabase.driver()->handle()))
        SQLSetConnectAttr(dbc, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(aSeconds)),
                          SQL_IS_UINTEGER);
}

void SetStatementTimeout(const QSqlQuery& aQuery, int aSeconds)
{
    if (SQLHANDLE stmt = HandleOf(aQuery.result()->handle()))
        SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(aSeconds)),
                       SQL_IS_UINTEGER);
}

// A statement without parameters goes to the server as it is, in the session's own scope, so that
// the temporary tables it creates outlive it. A statement with parameters is prepared.
class TOdbcStatement
{
public:
    TOdbcStatement(const QSqlDatabase& aDatabase, const TDbSqlText& aText, int aTimeout)
        : fDatabase(aDatabase), fText(aText), fTimeout(aTimeout), fQuery(aDatabase)
    {
        fQuery.setForwardOnly(true);
        fQuery.setNumericalPrecisionPolicy(QSql::HighPrecision);
        if (!fText.ParamNames().isEmpty()) {
            SetConnectionTimeout(fDatabase, fTimeout);
            TQtSqlEngine::Prepare(fQuery, fText.PositionalSql());
            SetStatementTimeout(fQuery, fTimeout);
        }
    }

    QSqlQuery& Run(const std::vector<TDbParam>& aBindings)
    {
        SetConnectionTimeout(fDatabase, fTimeout);
        if (fText.ParamNames().isEmpty()) {
            TQtSqlEngine::ExecDirect(fQuery, fText.Sql());
        } else {
            TQtSqlEngine::BindAll(fQuery, aBindings, OdbcValue);
            TQtSqlEngine::ExecPrepared(fQuery);
        }
        return fQuery;
    }

private:
    QSqlDatabase fDatabase;
    TDbSqlText fText;
    int fTimeout;
    QSqlQuery fQuery;
};

class TOdbcCommand : public TDbPreparedCommand
{
public:
    TOdbcCommand(const QSqlDatabase& aDatabase, const TDbSqlText& aText, int aTimeout)
        : fStatement(aDatabase, aText, aTimeout)
    {
    }

    int Execute(const std::vector<TDbParam>& aBindings) override
    {
        QSqlQuery& query = fStatement.Run(aBindings);
        int affected = query.numRowsAffected();
        query.finish();
        return affected;
    }

private:
    TOdbcStatement fStatement;
};

class TOdbcEngine : public TQtSqlEngine
{
public:
    explicit TOdbcEngine(QString aConnectionString)
        : TQtSqlEngine(QStringLiteral("QODBC")), fConnectionString(std::move(aConnectionString))
    {
    }

    void Open() override
    {
        QSqlDatabase db = Database();
        db.setDatabaseName(fConnectionString);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15"));
        OpenDatabase();
    }

    // The server serves one pending result per session, so the whole result is read at once
    // (a static cursor on the client) and the session is free for the next statement.
    std::unique_ptr<TDbCursor> OpenCursor(const TDbStatement& aStatement) override
    {
        TOdbcStatement statement(Database(), aStatement.fText, aStatement.fTimeout);
        QSqlQuery& query = statement.Run(aStatement.fBindings);
        // A batch may report row counts before the rows it selects.
        while (!query.isSelect())
            if (!query.nextResult())
                throw Exception(QStringLiteral("CommandText does not return a result set"));
        const QSqlRecord record = query.record();
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        std::vector<QVariant> cells;
        while (query.next())
            for (int i = 0; i < names.size(); ++i)
                cells.push_back(ReadValue(query.value(i)));
        query.finish();
        return std::make_unique<TDbMemoryCursor>(std::move(names), std::move(cells));
    }

    std::unique_ptr<TDbPreparedCommand> PrepareCommand(const TDbSqlText& aText, int aTimeout) override
    {
        return std::make_unique<TOdbcCommand>(Database(), aText, aTimeout);
    }

private:
    QString fConnectionString;
};

// An ODBC attribute value, in braces when it holds characters the connection string gives a meaning.
QString OdbcAttribute(const QString& aValue)
{
    static const QString kSpecial = QStringLiteral(";{}=");
    bool plain = aValue.trimmed() == aValue;
    for (QChar c : aValue)
        plain = plain && !kSpecial.contains(c);
    if (plain)
        return aValue;
    QString escaped = aValue;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString OdbcDriverName()
{
    QString driver = Environment::Variable(QStringLiteral("SAFT_ODBC_DRIVER"));
    if (!driver.isEmpty())
        return driver;
#ifdef Q_OS_WIN
    return QStringLiteral("SQL Server");
#else
    return QStringLiteral("FreeTDS");
#endif
}

}

QString OdbcConnectionString(const TDbConnectionSettings& aSettings)
{
    const QString driver = OdbcDriverName();
    QString server = aSettings.fDataSource;
    QString port;
    const qsizetype comma = server.lastIndexOf(u',');
    if (comma >= 0 && driver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive)) {
        port = server.mid(comma + 1).trimmed();
        server = server.left(comma).trimmed();
    }
    QString s = QStringLiteral("DRIVER={%1};SERVER=%2;").arg(driver, OdbcAttribute(server));
    if (!port.isEmpty())
        s += QStringLiteral("PORT=%1;").arg(OdbcAttribute(port));
    s += QStringLiteral("DATABASE=%1;").arg(OdbcAttribute(aSettings.fDatabase));
    if (aSettings.fUserId.isEmpty() || aSettings.fIntegratedSecurity)
        s += QStringLiteral("Trusted_Connection=Yes;");
    else
        s += QStringLiteral("UID=%1;PWD=%2;").arg(OdbcAttribute(aSettings.fUserId), OdbcAttribute(aSettings.fPassword));
    if (!aSettings.fApplicationName.isEmpty())
        s += QStringLiteral("APP=%1;").arg(OdbcAttribute(aSettings.fApplicationName));
    return s;
}

std::unique_ptr<TDbEngine> CreateOdbcEngine(const QString& aOdbcConnectionString)
{
    return std::make_unique<TOdbcEngine>(aOdbcConnectionString);
}
