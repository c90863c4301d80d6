// Coded tables: the lists packed into tabel00f, described field by field in pgupr01f.
#include "uTK_Mercalto.h"

#include "Exception.h"
#include "uTK_Base.h"

namespace {

// The description rows of a coded list.
std::unique_ptr<tTK_MercaltoDataset> DescriptionRows(tTK_MercaltoProxy& aProxy, const QString& aTbTab)
{
    return aProxy.Get(nt_pgupr, {QStringLiteral("TABEL00F"), aTbTab});
}

// The column expression that unpacks one described field, empty for a type that is not decoded.
QString FieldExpression(const tTK_MercaltoDataset& aRow)
{
    const QString type = aRow.FieldByName(QStringLiteral("P4Tip")).AsString();
    const QString target = aRow.FieldByName(QStringLiteral("P4FiR")).AsString();
    const QString substring = QStringLiteral("SUBSTRING(%1,%2,%3)")
                                  .arg(aRow.FieldByName(QStringLiteral("P4Fie")).AsString())
                                  .arg(aRow.FieldByName(QStringLiteral("P4Pos")).AsLargeInt())
                                  .arg(aRow.FieldByName(QStringLiteral("P4Len")).AsLargeInt());
    if (type == u"C")
        return target + u'=' + substring + u',';
    if (type == u"N") {
        const qint64 length = aRow.FieldByName(QStringLiteral("P4Len")).AsLargeInt();
        const qint64 decimals = aRow.FieldByName(QStringLiteral("P4Dec")).AsLargeInt();
        // 10 to the power of the decimals, as digits: exact for any number of decimals.
        const QString divisor = u'1' + QString(std::max<qint64>(decimals, 0), u'0');
        return target + QStringLiteral("=convert(decimal(%1,%2),'0'+").arg(length + 5).arg(decimals) + substring
               + QStringLiteral(")/") + divisor + u',';
    }
    if (type == u"D")
        return target + QStringLiteral("=Case ") + substring
               + QStringLiteral(" WHEN '00000000' THEN Convert(DateTime,'18991230')")
               + QStringLiteral(" WHEN ''         THEN Convert(DateTime,'18991230')")
               + QStringLiteral("                   ELSE Convert(DateTime,") + substring + QStringLiteral(") END,");
    return {};
}

}

QString tTK_MercaltoProxy::DecodeTabel(const QString& aTbTab)
{
    const QString table = u'#' + aTbTab;
    auto rows = DescriptionRows(*this, aTbTab);
    QString sql = QStringLiteral("SELECT Pkey,CONVERT(VARCHAR(1),'') AS ANNULLATO,");
    for (; !rows->Eof(); rows->Next())
        if (rows->FieldByName(QStringLiteral("P4Seq")).AsLargeInt() > 0)
            sql += FieldExpression(*rows);
    rows.reset();
    sql.chop(1);
    sql += QStringLiteral(" into ") + table
           + QStringLiteral(" from TABEL00F where ISNULL(ANNULLATO,'')<>'S' and tbtab=") + SqlStr(aTbTab);
    DropTable(table);
    ExecuteSQLCommand(sql);
    return table;
}

QStringList tTK_MercaltoProxy::TabelKeyFields(const QString& aTbTab)
{
    for (const QString& line : fTabelParameters) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.left(eq).compare(aTbTab, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).split(u',', Qt::SkipEmptyParts);
    }
    QStringList keys;
    for (auto rows = DescriptionRows(*this, aTbTab); !rows->Eof(); rows->Next())
        if (rows->FieldByName(QStringLiteral("P4Fie")).AsString().toLower() == u"tbkey")
            keys << rows->FieldByName(QStringLiteral("P4FiR")).AsString();
    fTabelParameters << aTbTab + u'=' + keys.join(u',');
    return keys;
}

std::unique_ptr<tTK_MercaltoDataset> tTK_MercaltoProxy::GetTabel(const QString& aTbTab, const QVariantList& aKeyValues)
{
    if (!TableExists(u'#' + aTbTab))
        DecodeTabel(aTbTab);
    const QStringList keys = TabelKeyFields(aTbTab);
    if (aKeyValues.size() > keys.size())
        throw Exception(QStringLiteral("%1 key values given for the coded table %2, which has %3 key fields")
                            .arg(aKeyValues.size())
                            .arg(aTbTab)
                            .arg(keys.size()));
    QString sql = QStringLiteral("select * from #") + aTbTab + QStringLiteral(" where ");
    tTK_SQLParams params;
    for (qsizetype i = 0; i < aKeyValues.size(); ++i) {
        sql += keys[i] + QStringLiteral("=:") + keys[i] + QStringLiteral(" and ");
        params.push_back(MakeSQLParam(keys[i], aKeyValues[i]));
    }
    sql.chop(4);
    auto ds = std::make_unique<tTK_MercaltoDataset>(Connection());
    ds->SetSQL(sql);
    ds->Open(params);
    return ds;
}

bool tTK_MercaltoProxy::ExistsTabel(const QString& aTbTab, const QVariantList& aKeyValues)
{
    return !GetTabel(aTbTab, aKeyValues)->Eof();
}
