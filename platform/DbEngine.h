#pragma once

#include "DbStatement.h"

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

// What a database engine offers the connection layer. The layer turns the callers' datasets and
// commands into these calls; an engine answers them with its driver (or, in tests, from a script).

// The rows of one result, read from before the first row onward.
class TDbCursor
{
public:
    virtual ~TDbCursor() = default;
    virtual const QStringList& FieldNames() const = 0;
    // Moves to the next row; false once past the last one.
    virtual bool Next() = 0;
    // A value of the current row; a database null is a typed null variant.
    virtual QVariant Value(int aIndex) const = 0;
    // Number of rows of the whole result, wherever the cursor stands.
    virtual int RecordCount() = 0;
    // Back to before the first row.
    virtual void Rewind() = 0;
};

// A command prepared once and run any number of times with new values.
class TDbPreparedCommand
{
public:
    virtual ~TDbPreparedCommand() = default;
    // Runs with one value per parameter position; returns the rows affected (-1 when unknown).
    virtual int Execute(const std::vector<TDbParam>& aBindings) = 0;
};

class TDbEngine
{
public:
    virtual ~TDbEngine() = default;
    // Open raises an Exception with the driver's message when the database cannot be reached.
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Runs a statement that returns rows; raises the driver's message.
    virtual std::unique_ptr<TDbCursor> OpenCursor(const TDbStatement& aStatement) = 0;
    virtual std::unique_ptr<TDbPreparedCommand> PrepareCommand(const TDbSqlText& aText, int aTimeout) = 0;
    virtual void BeginTransaction() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;
};

// A cursor over rows held in memory, one cell per field and row, row after row.
class TDbMemoryCursor : public TDbCursor
{
public:
    TDbMemoryCursor(QStringList aFieldNames, std::vector<QVariant> aCells);

    const QStringList& FieldNames() const override { return fFieldNames; }
    bool Next() override;
    QVariant Value(int aIndex) const override;
    int RecordCount() override { return fRowCount; }
    void Rewind() override { fRow = -1; }

private:
    QStringList fFieldNames;
    std::vector<QVariant> fCells;
    int fRowCount;
    int fRow = -1;
};
