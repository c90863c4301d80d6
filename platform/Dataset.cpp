#include "Dataset.h"

#include "DbValues.h"
#include "Exception.h"

TDataset::TDataset(TDbConnection& aConnection) : TDbClient(aConnection) {}

TDataset::~TDataset() = default;

void TDataset::SetSQL(const QString& aSql)
{
    Close();
    fSql = aSql;
}

void TDataset::Open(const TDbParams& aParams)
{
    Close();
    TDbStatement statement;
    statement.fText = TDbSqlText(fSql);
    statement.fBindings = TDbStatement::Bind(statement.fText, aParams);
    statement.fTimeout = fCommandTimeout;
    fCursor = Engine().OpenCursor(statement);
    fRecNo = 0;
    Next();
}

void TDataset::Close()
{
    fCursor.reset();
    fEof = true;
    fRecNo = 0;
}

void TDataset::CheckActive() const
{
    if (!fCursor)
        throw Exception(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

bool TDataset::Eof() const
{
    return fEof;
}

bool TDataset::IsEmpty()
{
    CheckActive();
    return fEof && RecordCount() == 0;
}

void TDataset::First()
{
    CheckActive();
    if (fRecNo == 1)
        return;
    fCursor->Rewind();
    fRecNo = 0;
    Next();
}

void TDataset::Next()
{
    CheckActive();
    fEof = !fCursor->Next();
    fRecNo = fEof ? 0 : fRecNo + 1;
}

int TDataset::RecordCount()
{
    CheckActive();
    return fCursor->RecordCount();
}

int TDataset::RecNo() const
{
    return fRecNo;
}

int TDataset::FieldCount() const
{
    CheckActive();
    return int(fCursor->FieldNames().size());
}

const QStringList& TDataset::FieldNames() const
{
    CheckActive();
    return fCursor->FieldNames();
}

std::optional<TField> TDataset::FindField(const QString& aName) const
{
    CheckActive();
    const QStringList& names = fCursor->FieldNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(aName, Qt::CaseInsensitive) == 0)
            return TField(*this, i);
    return std::nullopt;
}

TField TDataset::FieldByName(const QString& aName) const
{
    if (auto field = FindField(aName))
        return *field;
    throw Exception(QStringLiteral("Field '%1' not found").arg(aName));
}

TField TDataset::Fields(int aIndex) const
{
    if (aIndex < 0 || aIndex >= FieldCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(aIndex));
    return TField(*this, aIndex);
}

QVariant TDataset::CurrentValue(int aIndex) const
{
    CheckActive();
    if (fEof)
        throw Exception(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted"));
    return fCursor->Value(aIndex);
}

const QString& TField::FieldName() const { return fDataset->FieldNames()[fIndex]; }
QVariant TField::Value() const { return fDataset->CurrentValue(fIndex); }
bool TField::IsNull() const { return DbValues::IsNull(Value()); }
QString TField::AsString() const { return DbValues::ToString(Value()); }
int TField::AsInteger() const { return int(DbValues::ToLargeInt(Value())); }
qint64 TField::AsLargeInt() const { return DbValues::ToLargeInt(Value()); }
Currency TField::AsCurrency() const { return DbValues::ToCurrency(Value()); }
double TField::AsFloat() const { return DbValues::ToFloat(Value()); }
TDateTime TField::AsDateTime() const { return DbValues::ToDateTime(Value()); }
bool TField::AsBoolean() const { return DbValues::ToBoolean(Value()); }
