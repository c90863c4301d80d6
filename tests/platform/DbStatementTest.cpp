#include "DbConnectionSettings.h"
#include "DbEngines.h"
#include "DbStatement.h"
#include "DbValues.h"
#include "Exception.h"

#include <gtest/gtest.h>

TEST(DbSqlText, FindsNamedParametersOutsideQuotesAndComments)
{
    struct Case { const char* sql; const char* positional; QStringList names; };
    const Case cases[] = {
        {"select * from t where a=:a and b = :B_2", "select * from t where a=? and b = ?", {"a", "B_2"}},
        {"values(:x,:y,:x)", "values(?,?,?)", {"x", "y", "x"}},
        {"select ':no', [a:b], \"c:d\" from t where t='it''s :no'", nullptr, {}},
        {"select 1 -- :no\nwhere a=:yes /* :no */", "select 1 -- :no\nwhere a=? /* :no */", {"yes"}},
        {"select x::int, '12:30:00', a=:p", "select x::int, '12:30:00', a=?", {"p"}},
        {"select @@spid from master..sysprocesses", nullptr, {}},
    };
    for (const Case& c : cases) {
        TDbSqlText text(QString::fromUtf8(c.sql));
        EXPECT_EQ(text.PositionalSql(), QString::fromUtf8(c.positional ? c.positional : c.sql)) << c.sql;
        EXPECT_EQ(text.ParamNames(), c.names) << c.sql;
    }
}

TEST(DbSqlText, BindsByNameIgnoringCaseAndTypesNulls)
{
    TDbSqlText text(QStringLiteral("update t set a=:A, d=:d where k=:k and a2=:a"));
    auto bindings = TDbStatement::Bind(text, {{"a", 5, ftUnknown},
                                              {"K", QStringLiteral("x"), ftString},
                                              {"d", QVariant(), ftDateTime}});
    ASSERT_EQ(bindings.size(), 4u);
    EXPECT_EQ(bindings[0].value, QVariant(5));
    EXPECT_TRUE(DbValues::IsNull(bindings[1].value));
    EXPECT_EQ(bindings[1].value.metaType(), QMetaType::fromType<QDateTime>());
    EXPECT_EQ(bindings[2].value, QVariant(QStringLiteral("x")));
    EXPECT_EQ(bindings[3].value, QVariant(5));

    try {
        TDbStatement::Bind(text, {{"a", 1, ftUnknown}, {"k", 1, ftUnknown}, {"d", 1, ftUnknown}, {"zz", 1, ftUnknown}});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Parameter 'zz' not found");
    }
    try {
        TDbStatement::Bind(text, {{"a", 1, ftUnknown}, {"d", 1, ftUnknown}});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No value given for parameter 'k'");
    }
}

TEST(DbValues, ConvertsWhatDatabasesHandOut)
{
    const QVariant null(QMetaType::fromType<QString>());
    EXPECT_EQ(DbValues::ToString(null), "");
    EXPECT_EQ(DbValues::ToLargeInt(null), 0);
    EXPECT_TRUE(DbValues::ToDateTime(null).IsZero());
    EXPECT_EQ(DbValues::ToCurrency(QStringLiteral("123456789012.3456")), Currency::Parse(u"123456789012.3456"));
    EXPECT_EQ(DbValues::ToLargeInt(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(DbValues::ToDateTime(QStringLiteral("2024-02-29T23:59:58.123")),
              TDateTime::EncodeDateTime(2024, 2, 29, 23, 59, 58, 123));
    EXPECT_EQ(DbValues::ToDateTime(QStringLiteral("2024-02-29 08:05")), TDateTime::EncodeDateTime(2024, 2, 29, 8, 5, 0, 0));
    EXPECT_EQ(DbValues::ToDateTime(QStringLiteral("2024-02-29")), TDateTime::EncodeDate(2024, 2, 29));
    EXPECT_EQ(DbValues::IsoDateTime(TDateTime::EncodeDateTime(899, 1, 2, 3, 4, 5, 6)), "0899-01-02T03:04:05.006");
    EXPECT_THROW(DbValues::ToDateTime(QStringLiteral("2024-02-30")), Exception);
    EXPECT_THROW(DbValues::ToLargeInt(QStringLiteral("abc")), Exception);
}

TEST(DbConnectionSettings, ReadsTheSettingsVocabulary)
{
    auto s = TDbConnectionSettings::Parse(QStringLiteral(
        "Provider=SQLOLEDB.1;Data Source=SRV\\INST;Initial Catalog=REG;Persist Security Info=True;"
        "User ID=sa;Password=\"p;w\"\"d\";"));
    EXPECT_EQ(s.fDataSource, "SRV\\INST");
    EXPECT_EQ(s.fDatabase, "REG");
    EXPECT_EQ(s.fUserId, "sa");
    EXPECT_EQ(s.fPassword, "p;w\"d");
    EXPECT_FALSE(s.fIntegratedSecurity);
    EXPECT_EQ(TDbConnectionSettings::QuoteValue(QStringLiteral("p;w\"d")), "\"p;w\"\"d\"");
    EXPECT_EQ(TDbConnectionSettings::QuoteValue(QStringLiteral("plain")), "plain");

    auto t = TDbConnectionSettings::Parse(QStringLiteral("data source=SQLite;initial catalog=reg.db;"
                                                         "Integrated Security=SSPI;"));
    EXPECT_TRUE(t.IsEmbedded());
    EXPECT_TRUE(t.fIntegratedSecurity);
    EXPECT_EQ(t.fDatabase, "reg.db");
}

TEST(DbConnectionSettings, BecomeAnOdbcConnectionString)
{
    qputenv("SAFT_ODBC_DRIVER", "FreeTDS");
    TDbConnectionSettings s;
    s.fDataSource = QStringLiteral("db.example,1433");
    s.fDatabase = QStringLiteral("Shop");
    s.fUserId = QStringLiteral("sa");
    s.fPassword = QStringLiteral("a;b}");
    s.fApplicationName = QStringLiteral("SAFT-PT Generator");
    EXPECT_EQ(OdbcConnectionString(s), "DRIVER={FreeTDS};SERVER=db.example;PORT=1433;DATABASE=Shop;UID=sa;"
                                       "PWD={a;b}}};APP=SAFT-PT Generator;");
    qputenv("SAFT_ODBC_DRIVER", "ODBC Driver 18 for SQL Server");
    s.fUserId.clear();
    s.fApplicationName.clear();
    EXPECT_EQ(OdbcConnectionString(s), "DRIVER={ODBC Driver 18 for SQL Server};SERVER=db.example,1433;"
                                       "DATABASE=Shop;Trusted_Connection=Yes;");
    qunsetenv("SAFT_ODBC_DRIVER");
}
