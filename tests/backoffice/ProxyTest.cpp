#include "ProxyFixture.h"

#include "Exception.h"
#include "uTK_Base.h"

#include <QTemporaryDir>

namespace {
const char* const kSession = "select login_time,spid from master..sysprocesses where spid=@@spid";
}

TEST_P(ProxyTest, ConnectBuildsTheConnectionStringAndReadsTheSession)
{
    struct Case { const char* user; const char* password; const char* application; const char* connectionString; };
    const Case cases[] = {
        {"sa", "pw", "SAFT-PT Generator",
         "Provider=SQLOLEDB.1;Data Source=SRV1;Initial Catalog=Shop;Persist Security Info=True;User ID=sa;"
         "Password=pw;"},
        {"", "ignored", "",
         "Provider=SQLOLEDB.1;Data Source=SRV1;Initial Catalog=Shop;Persist Security Info=True;"
         "Integrated Security=SSPI;"},
    };
    for (const Case& c : cases) {
        tTK_MercaltoProxy proxy;
        proxy.SetDataSource("SRV1");
        proxy.SetDbName("Shop");
        proxy.SetDBUserName(c.user);
        proxy.SetDBUserPwd(c.password);
        proxy.SetApplicationName(c.application);
        fServer.ExpectConnect();
        ASSERT_TRUE(proxy.Connect()) << proxy.ConnectionError().toStdString();
        EXPECT_EQ(proxy.Connection().ConnectionString(), c.connectionString);
        EXPECT_EQ(proxy.ConnectionError(), "");
        if (fServer.IsReal()) {
            EXPECT_GT(proxy.SqlPID(), 0);
            EXPECT_FALSE(proxy.LoginDateTime().IsZero());
            continue;
        }
        EXPECT_EQ(proxy.SqlPID(), TBackOfficeServer::kSpid);
        EXPECT_EQ(proxy.LoginDateTime(), TBackOfficeServer::LoginTime());
        EXPECT_EQ(fServer.LastSettings().fApplicationName, c.application);
        EXPECT_EQ(fServer.LastSettings().fUserId, c.user);
        EXPECT_EQ(fServer.LastSettings().fIntegratedSecurity, QString(c.user).isEmpty());
    }
}

TEST_P(ProxyTest, AFailedConnectIsKeptAndLoggedWithoutThePassword)
{
    SKIP_WHEN_REAL_SERVER("a refused login");
    QTemporaryDir logDir;
    {
        tTK_Application app;
        app.ChangeLogDirectory(logDir.path());
        fServer.RefuseConnection("Login failed for user 'sa'.");
        fProxy.SetDataSource("SRV1");
        fProxy.SetDBUserName("sa");
        fProxy.SetDBUserPwd("Pa55word");
        EXPECT_FALSE(fProxy.Connect());
        EXPECT_EQ(fProxy.ConnectionError(), "Login failed for user 'sa'.");
        EXPECT_EQ(app.LastError(), "Connect:Login failed for user 'sa'.");
        EXPECT_FALSE(fProxy.Connection().Connected());
    }
    const QString log = QString::fromUtf8(ReadFileBytes(logDir.filePath(GetExeBaseName() + ".log")));
    EXPECT_TRUE(log.contains(" - ERROR - Connect:Login failed for user 'sa'.")) << log.toStdString();
    EXPECT_FALSE(log.contains("Pa55word"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST(ProxyConnect, AnUnreachableServerFailsWithTheDriversMessage)
{
    qputenv("SAFT_ODBC_DRIVER", "FreeTDS");
    tTK_MercaltoProxy proxy;
    proxy.SetDataSource("127.0.0.1,1");
    proxy.SetDbName("Shop");
    EXPECT_FALSE(proxy.Connect());
    EXPECT_TRUE(proxy.ConnectionError().contains("Unable to connect")) << proxy.ConnectionError().toStdString();
    qunsetenv("SAFT_ODBC_DRIVER");
}

TEST_P(ProxyTest, CheckConnectionReopensABrokenConnection)
{
    SKIP_WHEN_REAL_SERVER("a broken connection");
    QTemporaryDir logDir;
    {
        tTK_Application app;
        app.ChangeLogDirectory(logDir.path());
        ConnectProxy();
        fServer.Expect("SELECT @@SERVERNAME", {{""}, {{"SRV1"}}});
        EXPECT_TRUE(fProxy.CheckConnection());
        fServer.ExpectFailure("SELECT @@SERVERNAME", "Communication link failure");
        fServer.ExpectConnect();   // the new session's process id and login time
        EXPECT_TRUE(fProxy.CheckConnection());
        EXPECT_EQ(fServer.Connections(), 2);
        fServer.ExpectFailure("SELECT @@SERVERNAME", "Communication link failure");
        fServer.RefuseConnection("Server not found");
        EXPECT_FALSE(fProxy.CheckConnection());
        EXPECT_EQ(app.LastError(), "Server not found");
        EXPECT_TRUE(fProxy.Disconnect());
    }
    const QString log = QString::fromUtf8(ReadFileBytes(logDir.filePath(GetExeBaseName() + ".log")));
    EXPECT_EQ(log.count(" - Database Connection Error: retry Communication link failure"), 2) << log.toStdString();
}

TEST_P(ProxyTest, DatasetsAndCommandsRunWithAnHourTimeOutAndTypedNulls)
{
    SKIP_WHEN_REAL_SERVER("the time-outs and bindings the driver receives");
    ConnectProxy();
    fServer.Expect("select agdes from anmag00f where agmag=:mag", {{"agdes"}, {{"Lisboa"}}});
    fServer.Expect("update anmag00f set agdes=:des, agdat=:dat where agmag=:mag");
    fServer.Expect("select case when object_id('[anmag00f]') is null then 0 else 1 end as Value", {{"Value"}, {{1}}});

    auto ds = fProxy.CreateDataset("select agdes from anmag00f where agmag=:mag", {MakeSQLParam("mag", "01")});
    EXPECT_EQ(ds->FieldByName("agdes").AsString(), "Lisboa");
    EXPECT_TRUE(fProxy.ExecuteSQLCommand("update anmag00f set agdes=:des, agdat=:dat where agmag=:mag",
                                         {MakeSQLParam("mag", "01"), MakeSQLParam("des", QVariant(), ftString),
                                          MakeSQLParam("dat", QVariant(), ftDateTime)}));
    EXPECT_TRUE(fProxy.TableExists("anmag00f"));

    const auto& calls = fServer.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1].fTimeout, 3600);
    EXPECT_EQ(calls[2].fTimeout, 3600);
    EXPECT_EQ(calls[3].fTimeout, 0);   // the driver's default
    ASSERT_EQ(calls[2].fBindings.size(), 3u);
    EXPECT_TRUE(calls[2].fBindings[1].value.isNull());
    EXPECT_EQ(calls[2].fBindings[1].value.metaType(), QMetaType::fromType<QDateTime>());
    EXPECT_EQ(calls[2].fBindings[0].value.metaType(), QMetaType::fromType<QString>());
    tTK_MercaltoProxy::DestroyDataset(ds);
    EXPECT_EQ(ds, nullptr);
}

TEST_P(ProxyTest, ARefusedStatementRaisesTheServersMessage)
{
    ConnectProxy();
    fServer.ExpectFailure("select * from nowhere", "Invalid object name 'nowhere'.");
    EXPECT_TRUE(ErrorOf([&] { fProxy.CreateDataset("select * from nowhere"); }).contains("Invalid object name 'nowhere'."));
    fServer.ExpectFailure("delete nowhere", "Invalid object name 'nowhere'.");
    EXPECT_TRUE(ErrorOf([&] { fProxy.ExecuteSQLCommand("delete nowhere"); }).contains("Invalid object name 'nowhere'."));
    EXPECT_EQ(ErrorOf([&] { fProxy.CreateDatasetFromRes("Missing"); }), "SQL Resource Missing not found");
    EXPECT_EQ(ErrorOf([&] { fProxy.ExecuteSQLCommandFromRes("Missing"); }), "SQL Resource Missing not found");
}

TEST_P(ProxyTest, SqlResourcesAreRunWithTheirParameters)
{
    ConnectProxy();
    fServer.Table("anmag00f", "agmag varchar(10), agdes varchar(40) null, annullato char(1) null",
                  {"'01','Lisboa',null", "'02','Porto','S'"});
    fServer.Expect("select count(*) as n\r\nfrom anmag00f\r\nwhere agmag=:mag\r\n", {{"n"}, {{1}}});
    auto ds = fProxy.CreateDatasetFromRes("CountStores", {MakeSQLParam("mag", "01")});
    EXPECT_EQ(ds->FieldByName("n").AsInteger(), 1);
}

TEST_P(ProxyTest, CatalogueStatementsQuoteAndBracketTheirNames)
{
    ConnectProxy();
    fServer.Table("anmag00f", "agmag varchar(10), agdes varchar(40) null, agcit varchar(40) null, annullato char(1) null",
                  {"'01','Lisboa','LIS',null"});
    fServer.Setup("create table #abc (x int)");

    fServer.Expect("select case when object_id('tempdb..[#abc]') is null then 0 else 1 end as Value", {{"Value"}, {{0}}});
    fServer.Expect("if not object_id('tempdb..[#abc]') is null\r\ndrop table [#abc]");
    fServer.Expect("if not object_id('[abc]') is null\r\ndrop table [abc]");
    fServer.Expect("select case when object_id('[anmag00f]') is null then 0 else 1 end as Value", {{"Value"}, {{1}}});
    // The setup session's temporary table is its own: this session does not see it.
    EXPECT_FALSE(fProxy.TableExists("#abc"));
    fProxy.DropTable("#abc");
    fProxy.DropTable("abc");
    EXPECT_TRUE(fProxy.TableExists("anmag00f"));

    const TScriptedRows columns{{"name"}, {{"AGMAG"}, {"agdes"}, {"agcit"}, {"annullato"}}};
    const char* const kColumns = "select name from sys.columns where object_id=object_id('anmag00f') order by column_id";
    fServer.Expect(kColumns, columns);
    EXPECT_EQ(fProxy.GetFieldNames(nt_anmag), (QStringList{"agmag", "agdes", "agcit", "annullato"}));

    fServer.Expect(kColumns, columns);
    fServer.Expect("INSERT anmag00f (agmag,AgDes) VALUES('02','O''Porto')");
    EXPECT_TRUE(fProxy.InsertRecord(nt_anmag, {"agmag=02", "nocolumn=x", "AgDes=O'Porto"}));
    fServer.Expect("select @@rowcount as RecordsAffected", {{"RecordsAffected"}, {{1}}});
    EXPECT_EQ(fProxy.LastRowCount(), 1);

    fServer.Expect(kColumns, columns);
    fServer.Expect("update anmag00f set agdes='Porto',agcit='OPO' where agmag='02' and isnull(annullato,'')<>'S' ");
    EXPECT_TRUE(fProxy.UpdateRecord(nt_anmag, {"agdes=Porto", "x=1", "agcit=OPO"}, {"02"}));

    fServer.Expect(kColumns, columns);
    fServer.ExpectFailure("INSERT anmag00f () VALUES()", "Incorrect syntax near ')'.");
    EXPECT_TRUE(ErrorOf([&] { fProxy.InsertRecord(nt_anmag, {"x=1"}); }).contains("Incorrect syntax near ')'"));

    fServer.Expect("select count(*) as num from master..sysprocesses where program_name like 'nothing like this%'",
                   {{"num"}, {{0}}});
    EXPECT_FALSE(fProxy.IsProgramRunning("nothing like this"));
}

TEST(Proxy, NormalizeStringDropsSeparatorsAndSigns)
{
    EXPECT_EQ(tTK_MercaltoProxy::NormalizeString("A-12/B.3"), "A12B3");
    EXPECT_EQ(tTK_MercaltoProxy::NormalizeString(QString::fromUtf8(" |\\!?$%/()=^,.;:_-ø+*@#\"kept'Ø")),
              QString::fromUtf8("kept'Ø"));
}

TEST(Proxy, TheGlobalProxyIsClearedWhenItsProxyGoes)
{
    {
        tTK_MercaltoProxy proxy;
        MercaltoProxy = &proxy;
    }
    EXPECT_EQ(MercaltoProxy, nullptr);
}

RUN_ON_BOTH_SERVERS(ProxyTest);
