#pragma once

#include "Currency.h"
#include "DbConnection.h"
#include "TDateTime.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class TDataset;

// One field of a dataset's current record. A null reads as empty text, 0 or the zero date.
class TField
{
public:
    const QString& FieldName() const;
    // The value as the engine gives it (date-times as TDateTime; a null is a typed null).
    QVariant Value() const;
    bool IsNull() const;
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    Currency AsCurrency() const;
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;

private:
    friend class TDataset;
    TField(const TDataset& aDataset, int aIndex) : fDataset(&aDataset), fIndex(aIndex) {}
    const TDataset* fDataset;
    int fIndex;
};

// The rows of a query. Open runs the SQL text with its named parameters and stands on the first
// row; the dataset is then read with Next up to Eof, and First goes back. The record count is the
// size of the whole result, known from the start.
// How the engine keeps the rows: SQL Server results are read whole at Open (its session serves one
// pending result at a time); embedded results stream from the file one row at a time, the count is
// asked of the database, and First after reading on runs the statement again.
class TDataset : private TDbClient
{
public:
    explicit TDataset(TDbConnection& aConnection);
    ~TDataset() override;

    const QString& SQL() const { return fSql; }
    void SetSQL(const QString& aSql);
    // Seconds a statement may run; 0 keeps the driver's default.
    int CommandTimeout() const { return fCommandTimeout; }
    void SetCommandTimeout(int aSeconds) { fCommandTimeout = aSeconds; }

    // Raises an Exception with the driver's message when the statement fails.
    void Open(const TDbParams& aParams = {});
    void Close();
    bool Active() const { return fCursor != nullptr; }

    bool Eof() const;
    bool IsEmpty();
    void First();
    void Next();
    int RecordCount();
    // 1 for the first record; 0 at the end.
    int RecNo() const;

    int FieldCount() const;
    const QStringList& FieldNames() const;
    // Names compare ignoring case. FieldByName raises "Field '<name>' not found".
    TField FieldByName(const QString& aName) const;
    std::optional<TField> FindField(const QString& aName) const;
    TField Fields(int aIndex) const;

private:
    friend class TField;
    void ConnectionClosing() override { Close(); }
    void CheckActive() const;
    QVariant CurrentValue(int aIndex) const;

    QString fSql;
    int fCommandTimeout = 0;
    std::unique_ptr<TDbCursor> fCursor;
    bool fEof = true;
    int fRecNo = 0;
};
