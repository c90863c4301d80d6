#include "ProxyFixture.h"
#include "uTK_Base.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

// The proxy on an embedded registry file: the session and catalogue statements written for SQL
// Server get their answers from the embedded engine.
TEST(RegistryFile, TheProxyWorksOnAnSqliteFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.db");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    tTK_MercaltoProxy proxy;
    proxy.SetDataSource("SQLite");
    proxy.SetDbName(file);
    ASSERT_TRUE(proxy.Connect()) << proxy.ConnectionError().toStdString();
    EXPECT_EQ(proxy.SqlPID(), QCoreApplication::applicationPid());
    EXPECT_FALSE(proxy.LoginDateTime().IsZero());
    EXPECT_TRUE(proxy.CheckConnection());

    EXPECT_TRUE(proxy.ExecuteSQLCommand("create table anmag00f (AGMAG text, agdes text, annullato text)"));
    EXPECT_TRUE(proxy.ExecuteSQLCommand(
        "create table Receipts (ReceiptDateTime text, Number integer, Status text)"));
    EXPECT_TRUE(proxy.TableExists("anmag00f"));
    EXPECT_FALSE(proxy.TableExists("#anmag00f"));
    EXPECT_EQ(proxy.GetFieldNames(nt_anmag), (QStringList{"agmag", "agdes", "annullato"}));
    EXPECT_TRUE(proxy.ExecuteSQLCommand("insert into anmag00f values ('01', 'Lisboa', null)"));
    EXPECT_TRUE(proxy.ExecuteSQLCommand("update anmag00f set agdes='Porto' where agmag=:mag",
                                        {MakeSQLParam("mag", "01")}));
    EXPECT_EQ(proxy.LastRowCount(), 1);

    for (int day = 1; day <= 3; ++day)
        proxy.ExecuteSQLCommand(
            "insert into Receipts values (:t, :n, 'N')",
            {MakeSQLParam("t", QVariant::fromValue(TDateTime::EncodeDateTime(2024, 3, day, 12, 0, 0, 0))),
             MakeSQLParam("n", day)});
    auto ds = proxy.CreateDataset(
        "select * from Receipts where ReceiptDateTime between " + SqlDateTime(TDateTime::EncodeDate(2024, 3, 2)) + " and "
        + SqlDateTime(TDateTime::EncodeDateTime(2024, 3, 3, 23, 59, 59, 999)) + " order by Number");
    EXPECT_EQ(ds->RecordCount(), 2);
    EXPECT_EQ(ds->FieldByName("ReceiptDateTime").AsDateTime(), TDateTime::EncodeDateTime(2024, 3, 2, 12, 0, 0, 0));
}

TEST(RegistryFile, AMissingFileIsAConnectionFailure)
{
    QTemporaryDir dir;
    tTK_MercaltoProxy proxy;
    proxy.SetDataSource("sqlite");
    proxy.SetDbName(dir.filePath("missing.db"));
    EXPECT_FALSE(proxy.Connect());
    EXPECT_EQ(proxy.ConnectionError(), QString("Database file \"%1\" not found").arg(dir.filePath("missing.db")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.db")));
}
