// Keyed records of the mapped tables.
#include "uTK_Mercalto.h"

std::unique_ptr<tTK_MercaltoDataset> tTK_MercaltoRecordGetter::Get(tTK_MerTable aTable,
                                                                    const QVariantList& aKeyValues)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    return fProxy->CreateDataset(QStringLiteral("select * from ") + map.tablename + QStringLiteral(" where ")
                                 + MerKeyCondition(map, aKeyValues) + QStringLiteral("order by ")
                                 + map.keyFields.join(u','));
}

bool tTK_MercaltoRecordGetter::Exists(tTK_MerTable aTable, const QVariantList& aKeyValues)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    auto ds = fProxy->CreateDataset(QStringLiteral("select count(*) as Num from ") + map.tablename
                                    + QStringLiteral(" where ") + MerKeyCondition(map, aKeyValues));
    return ds->FieldByName(QStringLiteral("Num")).AsInteger() > 0;
}

QString tTK_MercaltoRecordGetter::Decode(tTK_MerTable aTable, const QVariantList& aKeyValues)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    auto ds = fProxy->CreateDataset(QStringLiteral("select ") + map.decodeexpression
                                    + QStringLiteral(" as Decoded from ") + map.tablename + QStringLiteral(" where ")
                                    + MerKeyCondition(map, aKeyValues));
    return ds->Eof() ? QString() : ds->FieldByName(QStringLiteral("Decoded")).AsString();
}
