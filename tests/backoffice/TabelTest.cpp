#include "ProxyFixture.h"

namespace {

const QString kColumns = QStringLiteral(
    "p4arc varchar(10), p4frm varchar(10), p4seq int, p4tip char(1), p4fir varchar(20), p4fie varchar(10), "
    "p4pos int, p4len int, p4dec int, p4des varchar(40) null, annullato char(1) null");

// The layout of the VAT list: a character key, two numbers (with and without decimals), a date,
// and two rows that describe no field (sequence 0, an unknown type).
const TScriptedRows kDescription{
    {"p4arc", "p4frm", "p4seq", "P4Tip", "P4FiR", "P4Fie", "P4Pos", "P4Len", "P4Dec", "p4des", "annullato"},
    {{"TABEL00F", "ALIV", 0, "C", "T_ALIV_OLD", "tbdes", 1, 9, 0, "old", QVariant()},
     {"TABEL00F", "ALIV", 1, "C", "T_ALIV_COD", "TBKEY", 1, 3, 0, "code", QVariant()},
     {"TABEL00F", "ALIV", 2, "N", "T_ALIV_PRC", "tbdes", 1, 5, 2, "rate", QVariant()},
     {"TABEL00F", "ALIV", 3, "N", "T_ALIV_NUM", "tbdes", 6, 2, 0, "number", QVariant()},
     {"TABEL00F", "ALIV", 4, "D", "T_ALIV_DAT", "tbdes", 8, 8, 0, "since", QVariant()},
     {"TABEL00F", "ALIV", 5, "X", "T_ALIV_ODD", "tbdes", 1, 1, 0, "odd", QVariant()}}};

const char* const kDescriptionQuery =
    "select * from pgupr01f where p4arc='TABEL00F' and p4frm='ALIV' and isnull(annullato,'')<>'S' "
    "order by p4arc,p4frm,p4seq";
const char* const kExists = "select case when object_id('tempdb..[#ALIV]') is null then 0 else 1 end as Value";
const char* const kDecode =
    "SELECT Pkey,CONVERT(VARCHAR(1),'') AS ANNULLATO,T_ALIV_COD=SUBSTRING(TBKEY,1,3),"
    "T_ALIV_PRC=convert(decimal(10,2),'0'+SUBSTRING(tbdes,1,5))/100,"
    "T_ALIV_NUM=convert(decimal(7,0),'0'+SUBSTRING(tbdes,6,2))/1,"
    "T_ALIV_DAT=Case SUBSTRING(tbdes,8,8) WHEN '00000000' THEN Convert(DateTime,'18991230') "
    "WHEN ''         THEN Convert(DateTime,'18991230')                   "
    "ELSE Convert(DateTime,SUBSTRING(tbdes,8,8)) END"
    " into #ALIV from TABEL00F where ISNULL(ANNULLATO,'')<>'S' and tbtab='ALIV'";
const char* const kSelect = "select * from #ALIV where T_ALIV_COD=:T_ALIV_COD ";

TScriptedRows Entry(const char* aCode, const char* aRate, int aNumber, TDateTime aSince)
{
    return {{"Pkey", "ANNULLATO", "T_ALIV_COD", "T_ALIV_PRC", "T_ALIV_NUM", "T_ALIV_DAT"},
            {{1, "", aCode, aRate, aNumber, QVariant::fromValue(aSince)}}};
}

class TabelTest : public ProxyTest
{
protected:
    void SetUp() override
    {
        ProxyTest::SetUp();
        if (IsSkipped())
            return;
        fServer.Table("pgupr01f", kColumns,
                      {"'TABEL00F','ALIV',0,'C','T_ALIV_OLD','tbdes',1,9,0,'old',null",
                       "'TABEL00F','ALIV',1,'C','T_ALIV_COD','TBKEY',1,3,0,'code',null",
                       "'TABEL00F','ALIV',2,'N','T_ALIV_PRC','tbdes',1,5,2,'rate',null",
                       "'TABEL00F','ALIV',3,'N','T_ALIV_NUM','tbdes',6,2,0,'number',null",
                       "'TABEL00F','ALIV',4,'D','T_ALIV_DAT','tbdes',8,8,0,'since',null",
                       "'TABEL00F','ALIV',5,'X','T_ALIV_ODD','tbdes',1,1,0,'odd',null",
                       "'TABEL00F','ALIV',6,'C','T_ALIV_DEL','tbdes',1,1,0,'deleted','S'"});
        fServer.Table("tabel00f",
                      "Pkey int, tbtab varchar(10), tbkey varchar(20), tbdes varchar(60), annullato char(1) null",
                      {"1,'ALIV','NOR','023000720240131',null", "2,'ALIV','ESE','000000000000000',null",
                       "3,'ALIV','RED','0060001        ',null", "4,'ALIV','OLD','0130000        ','S'",
                       "5,'CAUS','NOR','x',null"});
        ConnectProxy();
    }
};

}

TEST_P(TabelTest, DecodesAListOncePerConnectionAndReadsItByKey)
{
    fServer.Expect(kExists, {{"Value"}, {{0}}});
    fServer.Expect(kDescriptionQuery, kDescription);
    fServer.Expect("if not object_id('tempdb..[#ALIV]') is null\r\ndrop table [#ALIV]");
    fServer.Expect(kDecode);
    fServer.Expect(kDescriptionQuery, kDescription);   // the key, once per proxy
    fServer.Expect(kSelect, Entry("NOR", "23.00", 7, TDateTime::EncodeDate(2024, 1, 31)));
    fServer.Expect(kExists, {{"Value"}, {{1}}});
    fServer.Expect(kSelect, Entry("ESE", "0.00", 0, TDateTime()));
    fServer.Expect(kExists, {{"Value"}, {{1}}});
    fServer.Expect(kSelect, Entry("RED", "6.00", 1, TDateTime()));
    fServer.Expect(kExists, {{"Value"}, {{1}}});
    fServer.Expect(kSelect, {{"Pkey"}, {}});

    auto normal = fProxy.GetTabel("ALIV", {"NOR"});
    ASSERT_FALSE(normal->Eof());
    EXPECT_EQ(normal->FieldByName("T_ALIV_PRC").AsCurrency(), Currency(23));
    EXPECT_EQ(normal->FieldByName("T_ALIV_NUM").AsInteger(), 7);
    EXPECT_EQ(normal->FieldByName("T_ALIV_DAT").AsDateTime(), TDateTime::EncodeDate(2024, 1, 31));
    EXPECT_TRUE(normal->FindField("T_ALIV_OLD") == std::nullopt);

    auto exempt = fProxy.GetTabel("ALIV", {"ESE"});
    EXPECT_EQ(exempt->FieldByName("T_ALIV_PRC").AsCurrency(), Currency());
    EXPECT_TRUE(exempt->FieldByName("T_ALIV_DAT").AsDateTime().IsZero());
    EXPECT_TRUE(fProxy.ExistsTabel("ALIV", {"RED"}));
    EXPECT_FALSE(fProxy.ExistsTabel("ALIV", {"OLD"}));

    if (!fServer.IsReal()) {
        const auto& calls = fServer.Calls();
        EXPECT_EQ(calls[6].fTimeout, 0);   // the coded-table query keeps the driver's default
        ASSERT_EQ(calls[6].fBindings.size(), 1u);
        EXPECT_EQ(calls[6].fBindings[0].value, QVariant("NOR"));
    }
}

TEST_P(TabelTest, AListWithoutKeyFieldsGivesTheServersError)
{
    SKIP_WHEN_REAL_SERVER("an incomplete list description");
    fServer.Expect("select case when object_id('tempdb..[#CAUS]') is null then 0 else 1 end as Value",
                   {{"Value"}, {{1}}});
    fServer.Expect("select * from pgupr01f where p4arc='TABEL00F' and p4frm='CAUS' and isnull(annullato,'')<>'S' "
                   "order by p4arc,p4frm,p4seq",
                   {{"P4Fie", "P4FiR"}, {{"tbdes", "T_CAUS_DES"}}});
    fServer.ExpectFailure("select * from #CAUS wh", "Incorrect syntax near 'wh'.");
    EXPECT_EQ(ErrorOf([&] { fProxy.GetTabel("CAUS", {}); }), "Incorrect syntax near 'wh'.");
}

RUN_ON_BOTH_SERVERS(TabelTest);
