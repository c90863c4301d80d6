#include "Dataset.h"
#include "DbCommand.h"
#include "DbConnection.h"
#include "DbValues.h"
#include "Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An embedded registry file in a directory of its own, opened through the layer.
class SqliteDataset : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fDir.isValid());
        fFile = fDir.filePath(QStringLiteral("registry.db"));
        QFile f(fFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));   // an empty file is an empty database
        f.close();
        fConnection.SetConnectionString(
            QStringLiteral("Provider=SQLOLEDB.1;Data Source=sqlite;Initial Catalog=%1;Persist Security Info=True;"
                           "Integrated Security=SSPI;")
                .arg(fFile));
        fConnection.Open();
        Run("create table Receipts (Id integer primary key, Number integer, Serie text, Amount numeric, "
            "ReceiptDateTime text, Note text)");
    }

    int Run(const QString& aSql, const TDbParams& aParams = {})
    {
        TDbCommand command(fConnection, aSql);
        return command.Execute(aParams);
    }

    std::unique_ptr<TDataset> Query(const QString& aSql, const TDbParams& aParams = {})
    {
        auto ds = std::make_unique<TDataset>(fConnection);
        ds->SetSQL(aSql);
        ds->Open(aParams);
        return ds;
    }

    QString Error(const std::function<void()>& aAction)
    {
        try {
            aAction();
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("<no error>");
    }

    void InsertReceipts(int aCount)
    {
        fConnection.BeginTrans();
        TDbCommand insert(fConnection, QStringLiteral("insert into Receipts (Number, Serie, Amount, ReceiptDateTime) "
                                                      "values (:n, :s, :a, :t)"));
        for (int i = 1; i <= aCount; ++i)
            insert.Execute({{"n", i, ftInteger},
                            {"s", QStringLiteral("FR A"), ftString},
                            {"a", QVariant::fromValue(Currency::FromRaw(i * 12345)), ftCurrency},
                            {"t", QVariant::fromValue(TDateTime::EncodeDateTime(2024, 1, i, 10, 0, 0, i)), ftDateTime}});
        fConnection.CommitTrans();
    }

    QTemporaryDir fDir;
    QString fFile;
    TDbConnection fConnection;
};

}

TEST_F(SqliteDataset, ParametersCarryEveryTypeAndTypedNulls)
{
    const TDateTime when = TDateTime::EncodeDateTime(2024, 3, 31, 23, 59, 59, 999);
    EXPECT_EQ(Run("insert into Receipts (Number, Serie, Amount, ReceiptDateTime, Note) values (:n, :s, :a, :t, :note)",
                  {{"n", 7, ftInteger},
                   {"s", QString::fromUtf8("FR 'A' çã"), ftString},
                   {"a", QVariant::fromValue(Currency::Parse(u"1234567890.1234")), ftCurrency},
                   {"t", QVariant::fromValue(when), ftDateTime},
                   {"note", QVariant(), ftString}}),
              1);
    Run("insert into Receipts (Number) values (:n)", {{"n", QVariant(), ftInteger}});

    auto ds = Query("select * from Receipts where Serie=:s and ReceiptDateTime between '2024-03-31T00:00:00.000' and :t "
                    "order by Id",
                    {{"s", QString::fromUtf8("FR 'A' çã"), ftString}, {"t", QVariant::fromValue(when), ftDateTime}});
    ASSERT_FALSE(ds->Eof());
    EXPECT_EQ(ds->FieldByName("number").AsInteger(), 7);
    EXPECT_EQ(ds->FieldByName("SERIE").AsString(), QString::fromUtf8("FR 'A' çã"));
    EXPECT_EQ(ds->FieldByName("Amount").AsCurrency(), Currency::Parse(u"1234567890.1234"));
    EXPECT_EQ(ds->FieldByName("ReceiptDateTime").AsString(), "2024-03-31T23:59:59.999");
    EXPECT_EQ(ds->FieldByName("ReceiptDateTime").AsDateTime(), when);
    EXPECT_TRUE(ds->FieldByName("Note").IsNull());
    EXPECT_EQ(ds->FieldByName("Note").AsString(), "");
    EXPECT_TRUE(ds->FieldByName("Note").Value().isValid());

    auto nulls = Query("select Number, Serie, ReceiptDateTime from Receipts where Serie is null");
    ASSERT_EQ(nulls->RecordCount(), 1);
    EXPECT_TRUE(nulls->FieldByName("Number").IsNull());
    EXPECT_EQ(nulls->FieldByName("Number").AsInteger(), 0);
    EXPECT_EQ(nulls->FieldByName("Serie").AsString(), "");
    EXPECT_TRUE(nulls->FieldByName("ReceiptDateTime").AsDateTime().IsZero());
    EXPECT_EQ(nulls->FieldByName("Number").AsCurrency(), Currency());
}

TEST_F(SqliteDataset, NavigatesAndCountsAStreamedResult)
{
    InsertReceipts(5);
    auto ds = Query("select Number from Receipts where Number > :min order by Number", {{"min", 1, ftInteger}});
    EXPECT_EQ(ds->RecordCount(), 4);   // known before the rows are read
    QList<int> seen;
    for (; !ds->Eof(); ds->Next())
        seen << ds->FieldByName("Number").AsInteger();
    EXPECT_EQ(seen, (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(ds->RecordCount(), 4);
    EXPECT_THROW(ds->FieldByName("Number").AsInteger(), Exception);
    ds->First();
    EXPECT_EQ(ds->RecNo(), 1);
    EXPECT_EQ(ds->FieldByName("Number").AsInteger(), 2);

    auto empty = Query("select * from Receipts where Number > 99");
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(empty->FieldCount(), 6);
}

TEST_F(SqliteDataset, ErrorsCarryTheDriversMessage)
{
    EXPECT_EQ(Error([&] { Query("select * from Nowhere"); }), "no such table: Nowhere");
    EXPECT_EQ(Error([&] { Run("insert into Receipts (Id) values (1)"); Run("insert into Receipts (Id) values (1)"); }),
              "UNIQUE constraint failed: Receipts.Id");
    EXPECT_EQ(Error([&] { Query("delete from Receipts"); }), "CommandText does not return a result set");
    EXPECT_EQ(Error([&] { Query("select * from Receipts")->FieldByName("Missing"); }), "Field 'Missing' not found");
    EXPECT_EQ(Error([&] { Query("select * from Receipts where Id=:id"); }), "No value given for parameter 'id'");
}

TEST_F(SqliteDataset, TransactionsCommitOrRollBack)
{
    InsertReceipts(3);
    fConnection.BeginTrans();
    Run("delete from Receipts");
    fConnection.RollbackTrans();
    EXPECT_EQ(Query("select count(*) as n from Receipts")->FieldByName("n").AsInteger(), 3);
    EXPECT_EQ(Run("update Receipts set Note='x' where Number>=2"), 2);
}

TEST_F(SqliteDataset, AnswersTheServerSessionAndCatalogueStatements)
{
    Run("create temp table [#ALIV] (k text)");
    auto session = Query("select login_time,spid from master..sysprocesses where spid=@@spid");
    EXPECT_GT(session->FieldByName("spid").AsInteger(), 0);
    EXPECT_FALSE(session->FieldByName("login_time").AsDateTime().IsZero());
    EXPECT_FALSE(Query("SELECT @@SERVERNAME")->Eof());

    auto exists = [&](const QString& aTested) {
        return Query("select case when object_id('" + aTested + "') is null then 0 else 1 end as Value")
            ->FieldByName("Value").AsString();
    };
    EXPECT_EQ(exists("[receipts]"), "1");
    EXPECT_EQ(exists("[Nowhere]"), "0");
    EXPECT_EQ(exists("tempdb..[#ALIV]"), "1");

    auto columns = Query("select name from sys.columns where object_id=object_id('Receipts') order by column_id");
    QStringList names;
    for (; !columns->Eof(); columns->Next())
        names << columns->FieldByName("name").AsString();
    EXPECT_EQ(names, (QStringList{"Id", "Number", "Serie", "Amount", "ReceiptDateTime", "Note"}));

    InsertReceipts(4);
    Run("update Receipts set Note='y' where Number<=3");
    EXPECT_EQ(Query("select @@rowcount as RecordsAffected")->FieldByName("RecordsAffected").AsInteger(), 3);

    Run("if not object_id('tempdb..[#ALIV]') is null\r\ndrop table [#ALIV]");
    EXPECT_EQ(exists("tempdb..[#ALIV]"), "0");
}

TEST_F(SqliteDataset, ClosingTheConnectionClosesItsDatasets)
{
    InsertReceipts(2);
    auto ds = Query("select * from Receipts");
    auto outliving = std::make_unique<TDataset>(fConnection);
    fConnection.Close();
    EXPECT_FALSE(ds->Active());
    EXPECT_EQ(Error([&] { ds->Open(); }), "Connection is not open");
    fConnection.Open();
    ds->Open();
    EXPECT_EQ(ds->RecordCount(), 2);
}

TEST(SqliteConnection, RefusesAMissingFileOrOneThatIsNoDatabase)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.db"));
    TDbConnection connection;
    connection.SetConnectionString(QStringLiteral("Data Source=SQLITE;Initial Catalog=%1;").arg(missing));
    try {
        connection.Open();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Database file \"%1\" not found").arg(missing));
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(connection.Connected());

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    connection.SetConnectionString(QStringLiteral("Data Source=sqlite;Initial Catalog=%1;").arg(text));
    EXPECT_THROW(connection.Open(), Exception);
    EXPECT_FALSE(connection.Connected());
}

TEST(SqliteConnection, OpensAFileRelativeToTheCurrentDirectory)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("reg.db")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TDbConnection connection;
    connection.SetConnectionString(QStringLiteral("Data Source=sqlite;Initial Catalog=reg.db;"));
    EXPECT_NO_THROW(connection.Open());
    QDir::setCurrent(previous);
}

TEST(OdbcConnection, AnUnreachableServerGivesTheDriversMessage)
{
    qputenv("SAFT_ODBC_DRIVER", "FreeTDS");
    TDbConnection connection;
    connection.SetConnectionString(QStringLiteral("Data Source=127.0.0.1,1;Initial Catalog=x;User ID=sa;Password=p;"));
    try {
        connection.Open();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("Unable to connect"))) << e.what();
    }
    EXPECT_FALSE(connection.Connected());
    qunsetenv("SAFT_ODBC_DRIVER");
}
