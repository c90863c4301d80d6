#include "ProxyFixture.h"

#include "uTK_Base.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Files the test writes beside the executable or in the Windows directory; removed afterwards.
class InitTest : public ProxyTest
{
protected:
    void SetUp() override
    {
        ProxyTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(fWindowsDir.isValid());
        qputenv("SAFT_WINDOWS_DIR", QFile::encodeName(fWindowsDir.path()));
        qputenv("COMPUTERNAME", "PC01");
        qputenv("USERNAME", "winuser");
    }

    void TearDown() override
    {
        for (const QString& file : fWritten)
            QFile::remove(file);
        qunsetenv("SAFT_WINDOWS_DIR");
        qunsetenv("COMPUTERNAME");
        qunsetenv("USERNAME");
    }

    void Write(const QString& aPath, const QByteArray& aText)
    {
        QFile f(aPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << aPath.toStdString();
        f.write(aText);
        fWritten << aPath;
    }

    QString WindowsMerIni() const { return QDir::toNativeSeparators(fWindowsDir.filePath("mer.ini")); }
    static QString ExeMerIni() { return GetExeDir() + "mer.ini"; }

    bool Init(const QStringList& aArgs, bool aSingleInstance = false)
    {
        TCommandLineScope args(aArgs);
        return fProxy.Init(aSingleInstance);
    }

    QTemporaryDir fWindowsDir;
    QStringList fWritten;
};

const QByteArray kMerIni =
    "[Velmora]\r\nCfg_DataSource=GENERAL\r\n"
    "[Shop1]\r\nCfg_DataSource=SRV1\r\nCfg_DbName=Shop\r\nCfg_UserName=sa\r\nCfg_UserPwd=pw\r\n"
    "Cfg_DataSourceLocal=LOCALSRV\r\nCfg_DbNameLocal=ShopLocal\r\nCfg_EnvType=TEST\r\n"
    "[Shop2]\r\nCfg_DataSource=SRV2\r\nCfg_DbName=Other\r\nCfg_EnvType=prod\r\n";

}

TEST_P(InitTest, ReadsTheEnvironmentOfMerIniAndConnects)
{
    struct Case
    {
        QStringList args;
        const char* environment;
        const char* dataSource;
        const char* dbName;
        const char* dbUser;
        bool test;
    };
    const Case cases[] = {
        {{}, "Shop1", "SRV1", "Shop", "sa", true},
        {{"/ENV=Shop2|ignored"}, "Shop2", "SRV2", "Other", "", false},
        {{"/loc"}, "Shop1", "LOCALSRV", "ShopLocal", "", true},
        {{"/ENV:shop2", "/LOC=1"}, "shop2", "", "", "", false},
    };
    Write(WindowsMerIni(), kMerIni);
    for (const Case& c : cases) {
        fServer.ExpectConnect();
        EXPECT_TRUE(Init(c.args)) << c.args.join(' ').toStdString();
        EXPECT_TRUE(fProxy.Active());
        EXPECT_EQ(fProxy.IniFileName(), WindowsMerIni());
        EXPECT_EQ(fProxy.Environment(), c.environment);
        EXPECT_EQ(fProxy.DataSource(), c.dataSource);
        EXPECT_EQ(fProxy.DbName(), c.dbName);
        EXPECT_EQ(fProxy.DBUserName(), c.dbUser);
        EXPECT_EQ(fProxy.TestEnvironment(), c.test);
    }
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(InitTest, PrefersTheWindowsDirectoryAndFallsBackToTheProgramDirectory)
{
    Write(ExeMerIni(), "[Exe]\r\nCfg_DataSource=EXESRV\r\n");
    fServer.ExpectConnect();
    EXPECT_TRUE(Init({}));
    EXPECT_EQ(fProxy.IniFileName(), ExeMerIni());
    EXPECT_EQ(fProxy.DataSource(), "EXESRV");

    Write(WindowsMerIni(), "[Win]\r\nCfg_DataSource=WINSRV\r\n");
    fServer.ExpectConnect();
    EXPECT_TRUE(Init({}));
    EXPECT_EQ(fProxy.IniFileName(), WindowsMerIni());
    EXPECT_EQ(fProxy.DataSource(), "WINSRV");
}

TEST_P(InitTest, AMissingFileOrEnvironmentIsToldAndConnectsNothing)
{
    EXPECT_FALSE(Init({}));
    EXPECT_FALSE(fProxy.Active());
    Write(WindowsMerIni(), kMerIni);
    EXPECT_FALSE(Init({"/ENV=Nowhere"}));
    Write(ExeMerIni(), "[velmora]\r\nx=1\r\n");
    QFile::remove(WindowsMerIni());
    EXPECT_FALSE(Init({}));
    EXPECT_EQ(Messages(), (QStringList{"mer.ini file non found.", "Environment Nowhere non esistente",
                                       "Environment  non esistente"}));
    EXPECT_FALSE(fProxy.Connection().Connected());
    EXPECT_EQ(fServer.Connections(), 0);
}

TEST_P(InitTest, TheUserComesFromTheSwitchTheEnvironmentOrTheForcedUser)
{
    Write(WindowsMerIni(), kMerIni);
    struct Case { QStringList args; const char* forced; const char* user; };
    const Case cases[] = {
        {{}, "", "winuser"},
        {{"/U=anna"}, "", "anna"},
        {{"/u:anna"}, "boss", "boss"},
        {{}, "boss", "boss"},
    };
    for (const Case& c : cases) {
        fProxy.SetForcedUser(c.forced);
        fServer.ExpectConnect();
        EXPECT_TRUE(Init(c.args));
        EXPECT_EQ(fProxy.User(), c.user) << c.args.join(' ').toStdString() << " forced " << c.forced;
    }
}

TEST_P(InitTest, LoadsTheSetupFileOfTheComputerFirst)
{
    Write(WindowsMerIni(), kMerIni);
    const QString plain = GetExeDir() + GetExeBaseName() + ".ini";
    const QString computer = GetExeDir() + GetExeBaseName() + "_PC01.ini";
    Write(plain, "[Setup]\r\nDebug=1\r\nPrinter=LPT1\r\n");
    fServer.ExpectConnect();
    ASSERT_TRUE(Init({}));
    EXPECT_FALSE(fProxy.ExistsSetupValue("debug"));
    EXPECT_EQ(fProxy.GetSetupValue("DEBUG"), "1");
    EXPECT_EQ(fProxy.GetSetupValue("printer"), "LPT1");

    Write(computer, "[Setup]\r\nDebug\r\nPrinter=COM2=fast\r\n");
    fProxy.LoadSetup();
    EXPECT_TRUE(fProxy.ExistsSetupValue("debug"));
    EXPECT_EQ(fProxy.GetSetupValue("debug"), "");
    EXPECT_EQ(fProxy.GetSetupValue("Printer"), "COM2=fast");
    EXPECT_FALSE(fProxy.ExistsSetupValue("[setup]x"));
}

TEST_P(InitTest, TheProgramLockDecidesASingleInstanceStart)
{
    Write(WindowsMerIni(), kMerIni);
    fServer.Table("aplck00f", kLockTableColumns);
    fServer.ExpectConnect();
    fServer.Expect(QStringLiteral("insert aplck00f (TYPE,NAME,IDENTIFIER,TIMELCK,SPID,SPTM,MERCUSER,PCNAME,PGMNAME,"
                                  "PGMPARAM) values ('PGM','backoffice_tests',0,{now},@@SPID,{now},'winuser','PC01',"
                                  "'backoffice_tests','/ENV=Shop1')"));
    EXPECT_TRUE(Init({"/ENV=Shop1"}, true));
    EXPECT_TRUE(fProxy.Active());
    EXPECT_TRUE(fProxy.SingleInstance());
    // Going away, the proxy lets the program lock go.
    fServer.Expect("DELETE APLCK00F WHERE Type='PGM' and Name='backoffice_tests' and Identifier=0");
}

TEST_P(InitTest, ASecondCopyOfTheProgramIsRefused)
{
    SKIP_WHEN_REAL_SERVER("a lock held by another copy of the program");
    Write(WindowsMerIni(), kMerIni);
    fServer.ExpectConnect();
    fServer.ExpectFailure(QStringLiteral("insert aplck00f (TYPE,NAME,IDENTIFIER,TIMELCK,SPID,SPTM,MERCUSER,PCNAME,"
                                         "PGMNAME,PGMPARAM) values ('PGM','backoffice_tests',0,{now},@@SPID,{now},"
                                         "'winuser','PC01','backoffice_tests','')"),
                          "Violation of PRIMARY KEY constraint");
    fServer.Expect("select * from aplck00f where type='PGM' and name='backoffice_tests' and identifier=0 and "
                   "isnull(annullato,'')<>'S' order by type,name,identifier",
                   {{"SPID", "SPTM", "TIMELCK", "MERCUSER", "PCNAME", "PGMNAME"},
                    {{60, QVariant::fromValue(TDateTime::EncodeDate(2024, 1, 1)), QVariant::fromValue(TDateTime::Now()),
                      "anna", "PC09", "backoffice_tests"}}});
    fServer.Expect("select spid from master..sysprocesses where spid=60 and login_time='2024-01-01T00:00:00.000'",
                   {{"spid"}, {{60}}});
    EXPECT_FALSE(Init({}, true));
    EXPECT_FALSE(fProxy.Active());
    EXPECT_TRUE(fProxy.Connection().Connected());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("Nome Computer: PC09"));
    // The refused copy leaves the running copy's lock alone as it goes (no further statement).
}

RUN_ON_BOTH_SERVERS(InitTest);
