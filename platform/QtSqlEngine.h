#pragma once

#include "DbEngine.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <vector>

class QSqlError;

// What the Qt SQL engines share: one named Qt connection for the engine's life, transactions,
// error messages and value conversions.
class TQtSqlEngine : public TDbEngine
{
public:
    ~TQtSqlEngine() override;
    void Close() override;
    bool IsOpen() const override;
    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    // Raises an Exception with the driver's own message (or the error's text when it has none).
    [[noreturn]] static void Raise(const QSqlError& aError);
    // A value as the layer hands it out: date and time values become TDateTime, nulls stay typed.
    static QVariant ReadValue(const QVariant& aValue);
    // Binds one value per position, each converted with aConvert.
    static void BindAll(QSqlQuery& aQuery, const std::vector<TDbParam>& aBindings,
                        QVariant (*aConvert)(const QVariant&));
    static void ExecPrepared(QSqlQuery& aQuery);
    static void ExecDirect(QSqlQuery& aQuery, const QString& aSql);
    static void Prepare(QSqlQuery& aQuery, const QString& aSql);

protected:
    explicit TQtSqlEngine(const QString& aDriver);
    QSqlDatabase Database() const;
    // Opens the configured database; raises the driver's message.
    void OpenDatabase();

private:
    QString fName;
};
