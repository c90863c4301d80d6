#include "QtSqlEngine.h"

#include "Exception.h"
#include "TDateTime.h"

#include <QAtomicInteger>
#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QTime>

namespace {
QString NewConnectionName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("saft-db-%1").arg(++counter);
}
}

TQtSqlEngine::TQtSqlEngine(const QString& aDriver) : fName(NewConnectionName())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(aDriver, fName);
    if (!db.isValid())
        throw Exception(QStringLiteral("Database driver %1 is not available").arg(aDriver));
}

TQtSqlEngine::~TQtSqlEngine()
{
    Close();
    QSqlDatabase::removeDatabase(fName);
}

QSqlDatabase TQtSqlEngine::Database() const
{
    return QSqlDatabase::database(fName, false);
}

void TQtSqlEngine::OpenDatabase()
{
    QSqlDatabase db = Database();
    if (!db.open())
        Raise(db.lastError());
}

void TQtSqlEngine::Close()
{
    QSqlDatabase db = Database();
    if (db.isOpen())
        db.close();
}

bool TQtSqlEngine::IsOpen() const
{
    return Database().isOpen();
}

void TQtSqlEngine::BeginTransaction()
{
    QSqlDatabase db = Database();
    if (!db.transaction())
        Raise(db.lastError());
}

void TQtSqlEngine::CommitTransaction()
{
    QSqlDatabase db = Database();
    if (!db.commit())
        Raise(db.lastError());
}

void TQtSqlEngine::RollbackTransaction()
{
    QSqlDatabase db = Database();
    if (!db.rollback())
        Raise(db.lastError());
}

void TQtSqlEngine::Raise(const QSqlError& aError)
{
    QString message = aError.databaseText().trimmed();
    if (message.isEmpty())
        message = aError.text().trimmed();
    if (message.isEmpty())
        message = QStringLiteral("Unknown database error");
    throw Exception(message);
}

QVariant TQtSqlEngine::ReadValue(const QVariant& aValue)
{
    const int id = aValue.metaType().id();
    if (id != QMetaType::QDateTime && id != QMetaType::QDate && id != QMetaType::QTime)
        return aValue;
    if (aValue.isNull())
        return QVariant(QMetaType::fromType<TDateTime>());
    if (id == QMetaType::QDate)
        return QVariant::fromValue(TDateTime::FromQDate(aValue.toDate()));
    if (id == QMetaType::QTime) {
        QTime t = aValue.toTime();
        return QVariant::fromValue(TDateTime::EncodeTime(t.hour(), t.minute(), t.second(), t.msec()));
    }
    return QVariant::fromValue(TDateTime::FromQDateTime(aValue.toDateTime()));
}

void TQtSqlEngine::BindAll(QSqlQuery& aQuery, const std::vector<TDbParam>& aBindings,
                           QVariant (*aConvert)(const QVariant&))
{
    for (size_t i = 0; i < aBindings.size(); ++i)
        aQuery.bindValue(int(i), aConvert(aBindings[i].value));
}

void TQtSqlEngine::ExecPrepared(QSqlQuery& aQuery)
{
    if (!aQuery.exec())
        Raise(aQuery.lastError());
}

void TQtSqlEngine::ExecDirect(QSqlQuery& aQuery, const QString& aSql)
{
    if (!aQuery.exec(aSql))
        Raise(aQuery.lastError());
}

void TQtSqlEngine::Prepare(QSqlQuery& aQuery, const QString& aSql)
{
    if (!aQuery.prepare(aSql))
        Raise(aQuery.lastError());
}
