#include "ProxyFixture.h"

#include "Exception.h"

#include <set>

TEST(TableMap, HoldsEveryTableOnceWithItsKey)
{
    const auto& map = MerTableMap();
    ASSERT_EQ(map.size(), 49u);
    std::set<int> seen;
    for (const tTK_MerDecodeMap& row : map) {
        EXPECT_TRUE(seen.insert(row.table).second) << row.tablename.toStdString();
        EXPECT_FALSE(row.keyFields.isEmpty());
        EXPECT_TRUE(row.fieldnames.isEmpty());
    }
    EXPECT_EQ(GetMerDecodeMap(nt_fdgrp).tablename, "fdgrp00f");
    EXPECT_EQ(GetMerDecodeMap(nt_vwocrig).keyFields.size(), 9);
    EXPECT_EQ(GetMerDecodeMap(nt_iiadr6).keyFields, (QStringList{"irnfor", "ireart", "iretag"}));
    EXPECT_EQ(GetMerDecodeMap(nt_tabel).decodeexpression, "tbdes");
    EXPECT_EQ(GetMerDecodeMap(nt_anean2).tablename, GetMerDecodeMap(nt_anean).tablename);
}

TEST(KeyCondition, WritesEachValueAsItsLiteral)
{
    TRecordingPresenter messages;
    struct Case { tTK_MerTable table; QVariantList values; const char* condition; };
    const Case cases[] = {
        {nt_anmag, {"01"}, "agmag='01' and isnull(annullato,'')<>'S' "},
        {nt_anmag, {}, "isnull(annullato,'')<>'S' "},
        {nt_anarc, {"O'K", QByteArray("\xE7")}, "acart='O''K' and accol='\u00E7' and isnull(annullato,'')<>'S' "},
        {nt_aplck, {"PGM", "x", 0}, "type='PGM' and name='x' and identifier=0 and isnull(annullato,'')<>'S' "},
        {nt_octes,
         {QVariant::fromValue(short(-3)), QVariant::fromValue(qint64(12345678901)), QVariant::fromValue(uchar(7))},
         "ottor=-3 and otpor=12345678901 and otnor=7 and isnull(annullato,'')<>'S' "},
        {nt_cmrig,
         {QVariant::fromValue(Currency::Parse(u"12.5")),
          QVariant::fromValue(TDateTime::EncodeDateTime(2024, 1, 31, 9, 0, 0, 0))},
         "crcod=12.5 and crprg='20240131' and isnull(annullato,'')<>'S' "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MerKeyCondition(GetMerDecodeMap(c.table), c.values), QString::fromUtf8(c.condition));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(KeyCondition, AnUnhandledTypeIsToldAndLeavesItsLiteralOut)
{
    TRecordingPresenter messages;
    EXPECT_EQ(MerKeyCondition(GetMerDecodeMap(nt_anarc), {1.5, true}),
              "acart= and accol= and isnull(annullato,'')<>'S' ");
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[0].first, TMessagePresenter::Kind::Error);
    EXPECT_EQ(messages.Messages()[0].second, "Tipo Dato 5 non gestito");
    EXPECT_EQ(messages.Messages()[1].second, "Tipo Dato 11 non gestito");
    EXPECT_EQ(ErrorOf([] { MerKeyCondition(GetMerDecodeMap(nt_anmag), {"01", "02"}); }),
              "2 key values given for anmag00f, which has 1 key fields");
}

TEST_P(ProxyTest, KeyedReadsSkipDeletedRowsAndOrderByTheWholeKey)
{
    ConnectProxy();
    fServer.Table("anarc00f", "acart varchar(20), accol varchar(10), acdes varchar(40) null, annullato char(1) null",
                  {"'A1','02','Blue',null", "'A1','01','Red',''", "'A2','01','Green',null", "'A1','03','Gone','S'",
                   "'A1','04',null,null"});
    fServer.Expect("select * from anarc00f where acart='A1' and isnull(annullato,'')<>'S' order by acart,accol",
                   {{"acart", "accol", "acdes", "annullato"},
                    {{"A1", "01", "Red", ""}, {"A1", "02", "Blue", QVariant()}, {"A1", "04", QVariant(), QVariant()}}});
    auto ds = fProxy.Get(nt_anarc, {"A1"});
    QStringList seen;
    for (; !ds->Eof(); ds->Next())
        seen << ds->FieldByName("accol").AsString() + ds->FieldByName("acdes").AsString();
    EXPECT_EQ(seen, (QStringList{"01Red", "02Blue", "04"}));

    fServer.Expect("select count(*) as Num from anarc00f where acart='A1' and accol='03' and isnull(annullato,'')<>'S' ",
                   {{"Num"}, {{0}}});
    EXPECT_FALSE(fProxy.Exists(nt_anarc, {"A1", "03"}));
    fServer.Expect("select count(*) as Num from anarc00f where acart='A2' and isnull(annullato,'')<>'S' ",
                   {{"Num"}, {{1}}});
    EXPECT_TRUE(fProxy.Exists(nt_anarc, {"A2"}));

    const struct { const char* color; const char* sql; TScriptedRows rows; const char* decoded; } decodes[] = {
        {"02", "select acdes as Decoded from anarc00f where acart='A1' and accol='02' and isnull(annullato,'')<>'S' ",
         {{"Decoded"}, {{"Blue"}}}, "Blue"},
        {"04", "select acdes as Decoded from anarc00f where acart='A1' and accol='04' and isnull(annullato,'')<>'S' ",
         {{"Decoded"}, {{QVariant()}}}, ""},
        {"03", "select acdes as Decoded from anarc00f where acart='A1' and accol='03' and isnull(annullato,'')<>'S' ",
         {{"Decoded"}, {}}, ""},
    };
    for (const auto& d : decodes) {
        fServer.Expect(d.sql, d.rows);
        EXPECT_EQ(fProxy.Decode(nt_anarc, {"A1", d.color}), d.decoded);
    }
}
