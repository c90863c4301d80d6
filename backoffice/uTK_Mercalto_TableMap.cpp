// The map of the back-office tables read by key, and the key condition built from it.
#include "uTK_Mercalto.h"

#include "Cp1252.h"
#include "Exception.h"
#include "uTK_Base.h"

#include <QDate>
#include <QDateTime>

namespace {

tTK_MerDecodeMap Row(tTK_MerTable aTable, const char* aName, const char* aDecode, QStringList aKeys)
{
    return {aTable, QString::fromLatin1(aName), QString::fromLatin1(aDecode), std::move(aKeys), {}};
}

// Variant type numbers of the values a key may hold.
enum : int {
    varEmpty = 0, varNull = 1, varSmallint = 2, varInteger = 3, varSingle = 4, varDouble = 5,
    varCurrency = 6, varDate = 7, varBoolean = 11, varUnknown = 13, varShortInt = 16, varByte = 17,
    varWord = 18, varLongWord = 19, varInt64 = 20, varUInt64 = 21, varString = 256, varUString = 258
};

}

const std::vector<tTK_MerDecodeMap>& MerTableMap()
{
    static const std::vector<tTK_MerDecodeMap> map = {
        Row(nt_anmag, "anmag00f", "agdes", {"agmag"}),
        Row(nt_anart, "anart00f", "aades", {"aaart"}),
        Row(nt_anarc, "anarc00f", "acdes", {"acart", "accol"}),
        Row(nt_dotes, "dotes00f", "", {"dtneg", "dttdo", "dtpdo", "dtndo"}),
        Row(nt_doana, "doana00f", "", {"daneg", "datdo", "dapdo", "dando"}),
        Row(nt_dorig, "dorig00f", "", {"drneg", "drtdo", "drpdo", "drndo", "drtri", "drnri", "drtsr", "drnsr"}),
        Row(nt_doriv, "doriv00f", "",
            {"dvneg", "dvtdo", "dvpdo", "dvndo", "dvtri", "dvnri", "dvtsr", "dvnsr", "dvvar", "dvprv"}),
        Row(nt_tbtdo, "tbtdo00f", "tddes", {"tddoc"}),
        Row(nt_anclf, "anclf00f", "anrag", {"antip", "anana"}),
        Row(nt_anspe, "anspe00f", "adrag", {"adtip", "adana", "adspe"}),
        Row(nt_octes, "octes00f", "", {"ottor", "otpor", "otnor"}),
        Row(nt_ocrig, "ocrig00f", "", {"ortor", "orpor", "ornor", "ortri", "ornri", "ortsr", "ornsr"}),
        Row(nt_ocriv, "ocriv00f", "",
            {"ovtor", "ovpor", "ovnor", "ovtri", "ovnri", "ovtsr", "ovnsr", "ovvar", "ovprv"}),
        Row(nt_vwocrig, "vw_ocrig_ext", "",
            {"ortor", "orpor", "ornor", "ortri", "ornri", "ortsr", "ornsr", "ovvar", "ovtag"}),
        Row(nt_aplck, "aplck00f", "", {"type", "name", "identifier"}),
        Row(nt_anper, "anper00f", "", {"aqarc", "aqkey", "aqspp", "aqseq"}),
        Row(nt_invet, "invet00f", "", {"iemag", "iedop"}),
        Row(nt_inven, "inven00f", "", {"inmag", "indop", "inprg"}),
        Row(nt_anean, "anean00f", "", {"aeart", "aecol", "aetag", "aeprg"}),
        Row(nt_anean2, "anean00f", "", {"aeean"}),
        Row(nt_ancsh, "ancsh00f", "", {"ahneg", "ahean"}),
        Row(nt_ancsh2, "ancsh00f", "", {"ahneg", "ahart"}),
        Row(nt_tabel, "tabel00f", "tbdes", {"tbtab", "tbkey"}),
        Row(nt_anfdt, "anfdt00f", "abcog", {"abcod"}),
        Row(nt_pgupr, "pgupr01f", "p4des", {"p4arc", "p4frm", "p4seq"}),
        Row(nt_omtes, "omtes00f", "", {"omnod", "omper", "omnum"}),
        Row(nt_omrig, "omrig00f", "", {"onnod", "onper", "onnum", "onrig"}),
        Row(nt_omvar, "omvar00f", "", {"ovnod", "ovper", "ovnum", "ovrig", "ovtip", "ovseq"}),
        Row(nt_omprz, "omprz00f", "", {"opnod", "opper", "opnum", "oprig", "opsqc", "opsqt", "optip"}),
        Row(nt_omqto, "omqto00f", "", {"oqnod", "oqper", "oqnum", "oqrig", "oqsqc", "oqsqt", "oqmag"}),
        Row(nt_tbcoa, "tbcoa00f", "", {"caarc", "cakey", "caprg"}),
        Row(nt_ancaf, "ancaf00f", "", {"afart", "afcol", "aftag", "afprg"}),
        Row(nt_ancaf3, "ancaf00f", "", {"affor", "afcfo"}),
        Row(nt_aetes, "aetes00f", "awdes", {"awtip", "awcod"}),
        Row(nt_iiadr, "iiadr00f", "", {"irnart", "irncol", "irntag"}),
        Row(nt_iiadr4, "iiadr00f", "", {"irefor", "ireart", "irecol", "iretag"}),
        Row(nt_iiadr5, "iiadr00f", "", {"irnfor", "ireart", "irncol", "irntag"}),
        Row(nt_iiadr6, "iiadr00f", "", {"irnfor", "ireart", "iretag"}),
        Row(nt_imneg, "imneg00f", "", {"imtid", "imvc1", "imvc2", "imvc3", "imtif"}),
        Row(nt_cmrig, "cmrig00f", "", {"crcod", "crprg"}),
        Row(nt_nvvia, "nvvia00f", "", {"viidv"}),
        Row(nt_gfana, "gfana00f", "", {"gfcod"}),
        Row(nt_ansoc, "ansoc00f", "asdes", {"assoc"}),
        Row(nt_aptes, "aptes00f", "apdes", {"apcod"}),
        Row(nt_aneve, "aneve00f", "evdes", {"evcod"}),
        Row(nt_mocsh, "mocsh00f", "", {"mhneg", "mhdat", "mhora", "mhcas", "mhnsc", "mhrsc"}),
        Row(nt_ankit, "ankit00f", "", {"akarp", "akind", "akseq"}),
        Row(nt_feclf, "feclf00f", "fedes", {"fetip", "feana"}),
        Row(nt_fdgrp, "fdgrp00f", "fgdes", {"fgcod"}),
    };
    return map;
}

const tTK_MerDecodeMap& GetMerDecodeMap(tTK_MerTable aTable)
{
    for (const tTK_MerDecodeMap& row : MerTableMap())
        if (row.table == aTable)
            return row;
    throw Exception(QStringLiteral("Table %1 is not in the table map").arg(int(aTable)));
}

int MerVarType(const QVariant& aValue)
{
    if (!aValue.isValid())
        return varEmpty;
    if (aValue.isNull())
        return varNull;
    const QMetaType type = aValue.metaType();
    if (type == QMetaType::fromType<Currency>())
        return varCurrency;
    if (type == QMetaType::fromType<TDateTime>())
        return varDate;
    switch (type.id()) {
    case QMetaType::Short: return varSmallint;
    case QMetaType::Int: return varInteger;
    case QMetaType::Float: return varSingle;
    case QMetaType::Double: return varDouble;
    case QMetaType::QDate:
    case QMetaType::QDateTime: return varDate;
    case QMetaType::Bool: return varBoolean;
    case QMetaType::Char:
    case QMetaType::SChar: return varShortInt;
    case QMetaType::UChar: return varByte;
    case QMetaType::UShort: return varWord;
    case QMetaType::UInt: return varLongWord;
    case QMetaType::Long:
    case QMetaType::LongLong: return varInt64;
    case QMetaType::ULong:
    case QMetaType::ULongLong: return varUInt64;
    case QMetaType::QByteArray: return varString;
    case QMetaType::QString: return varUString;
    default: return varUnknown;
    }
}

QString MerKeyCondition(const tTK_MerDecodeMap& aMap, const QVariantList& aKeyValues)
{
    if (aKeyValues.size() > aMap.keyFields.size())
        throw Exception(QStringLiteral("%1 key values given for %2, which has %3 key fields")
                            .arg(aKeyValues.size())
                            .arg(aMap.tablename)
                            .arg(aMap.keyFields.size()));
    QString condition;
    for (qsizetype i = 0; i < aKeyValues.size(); ++i) {
        const QVariant& value = aKeyValues[i];
        condition += aMap.keyFields[i] + u'=';
        switch (MerVarType(value)) {
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varInt64:
            condition += SqlInt(value.toLongLong());
            break;
        case varCurrency:
            condition += SqlCurr(value.value<Currency>());
            break;
        case varDate:
            condition += SqlDate(value.metaType() == QMetaType::fromType<TDateTime>()
                                     ? value.value<TDateTime>()
                                     : TDateTime::FromQDateTime(value.toDateTime()));
            break;
        case varString:
            condition += SqlStr(Cp1252::Decode(value.toByteArray()));
            break;
        case varUString:
            condition += SqlStr(value.toString());
            break;
        default:
            ShowUserMessage(let_error, QStringLiteral("Tipo Dato %1 non gestito").arg(MerVarType(value)));
            break;
        }
        condition += QStringLiteral(" and ");
    }
    return condition + QStringLiteral("isnull(annullato,'')<>'S' ");
}

tTK_SQLParam MakeSQLParam(const QString& aName, const QVariant& aValue, TFieldType aDataType)
{
    return tTK_SQLParam{aName, aValue, aDataType};
}
