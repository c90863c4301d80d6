#include "ProxyFixture.h"

#include "uTK_Base.h"

#include <QLocale>

namespace {

// A lock row of another connection.
struct THolder
{
    qint64 fSpid;
    TDateTime fLogin;
    TDateTime fLockTime = TDateTime::EncodeDateTime(2024, 2, 3, 4, 5, 6, 0);
};

class LocksTest : public ProxyTest
{
protected:
    void SetUp() override
    {
        ProxyTest::SetUp();
        if (IsSkipped())
            return;
        qputenv("USERNAME", "mario");
        qputenv("COMPUTERNAME", "PC01");
        fServer.Table("aplck00f", kLockTableColumns);
        ConnectProxy();
    }
    void TearDown() override
    {
        qunsetenv("USERNAME");
        qunsetenv("COMPUTERNAME");
    }

    QString Insert(const QString& aType, const QString& aName, int aId) const
    {
        return QStringLiteral("insert aplck00f (TYPE,NAME,IDENTIFIER,TIMELCK,SPID,SPTM,MERCUSER,PCNAME,PGMNAME,PGMPARAM) "
                              "values ('%1','%2',%3,{now},@@SPID,%4,'mario','PC01','backoffice_tests','/U=mario')")
            .arg(aType, aName)
            .arg(aId)
            .arg(SqlDateTime(fProxy.LoginDateTime()));
    }

    static QString Read(const QString& aType, const QString& aName, int aId)
    {
        return QStringLiteral("select * from aplck00f where type='%1' and name='%2' and identifier=%3 and "
                              "isnull(annullato,'')<>'S' order by type,name,identifier")
            .arg(aType, aName)
            .arg(aId);
    }

    static TScriptedRows Row(const QString& aType, const QString& aName, int aId, qint64 aSpid, TDateTime aLogin,
                             TDateTime aLockTime)
    {
        return {{"TYPE", "NAME", "IDENTIFIER", "TIMELCK", "SPID", "SPTM", "MERCUSER", "PCNAME", "PGMNAME", "PGMPARAM",
                 "annullato"},
                {{aType, aName, aId, QVariant::fromValue(aLockTime), aSpid, QVariant::fromValue(aLogin), "luigi", "PC02",
                  "registryadmin", "", QVariant()}}};
    }

    // Puts a lock row of the setup connection, alive while the test runs, into the real lock table.
    void HeldBySetupConnection(const QString& aType, const QString& aName, int aId, const THolder& aHolder)
    {
        fServer.Setup(QStringLiteral("insert aplck00f select '%1','%2',%3,%4,spid,login_time,'luigi','PC02',"
                                     "'registryadmin','',null from master..sysprocesses where spid=@@spid")
                          .arg(aType, aName)
                          .arg(aId)
                          .arg(SqlDateTime(aHolder.fLockTime)));
    }

    QString Alive(const THolder& aHolder) const
    {
        return fServer.ScriptedOr(
            QStringLiteral("select spid from master..sysprocesses where spid=%1 and login_time=%2")
                .arg(aHolder.fSpid)
                .arg(SqlDateTime(aHolder.fLogin)),
            QStringLiteral("select spid from master..sysprocesses where spid={n} and login_time={now}"));
    }

    TCommandLineScope fArgs{{"/U=mario"}};
};

}

TEST_P(LocksTest, TakenThenTakenAgainOnTheSameConnection)
{
    fServer.Expect(Insert("PGM", "docregister", 0));
    EXPECT_TRUE(fProxy.ApplicativeLock(lt_Program, "docregister", 0));

    fServer.ExpectFailure(Insert("PGM", "docregister", 0), "Violation of PRIMARY KEY constraint");
    fServer.Expect(Read("PGM", "docregister", 0),
                   Row("PGM", "docregister", 0, TBackOfficeServer::kSpid, TBackOfficeServer::LoginTime(),
                       TDateTime::Now()));
    EXPECT_TRUE(fProxy.ApplicativeLock(lt_Program, "docregister", 0));

    fServer.Expect("DELETE APLCK00F WHERE Type='PGM' and Name='docregister' and Identifier=0");
    fProxy.ApplicativeUnlock(lt_Program, "docregister", 0);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(LocksTest, AStaleLockIsReplacedWithoutAMessage)
{
    const THolder stale{32000, TDateTime::EncodeDateTime(2024, 1, 1, 8, 0, 0, 0)};
    fServer.Setup(QStringLiteral("insert aplck00f values ('REC','Receipt 7',7,%1,32000,%2,'luigi','PC02',"
                                 "'registryadmin','',null)")
                      .arg(SqlDateTime(stale.fLockTime), SqlDateTime(stale.fLogin)));
    fServer.ExpectFailure(Insert("REC", "Receipt 7", 7), "Violation of PRIMARY KEY constraint");
    fServer.Expect(Read("REC", "Receipt 7", 7), Row("REC", "Receipt 7", 7, stale.fSpid, stale.fLogin, stale.fLockTime));
    fServer.Expect(Alive(stale), {{"spid"}, {}});
    fServer.Expect("DELETE APLCK00F WHERE Type='REC' and Name='Receipt 7' and Identifier=7");
    fServer.Expect(Insert("REC", "Receipt 7", 7));
    EXPECT_TRUE(fProxy.ApplicativeLock(lt_Record, "Receipt 7", 7));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(LocksTest, ALockHeldByAnotherLiveConnectionIsRefusedWithItsHolder)
{
    const THolder holder{77, TDateTime::EncodeDateTime(2024, 2, 3, 4, 0, 0, 0)};
    HeldBySetupConnection("ACT", "Stock", 1, holder);
    fServer.ExpectFailure(Insert("ACT", "Stock", 1), "Violation of PRIMARY KEY constraint");
    fServer.Expect(Read("ACT", "Stock", 1), Row("ACT", "Stock", 1, holder.fSpid, holder.fLogin, holder.fLockTime));
    fServer.Expect(Alive(holder), {{"spid"}, {{77}}});
    EXPECT_FALSE(fProxy.ApplicativeLock(lt_Action, "Stock", 1));

    const QString line(40, u'-');
    const QString expected = "Attenzione!\r\n" + line + "\r\n" + QString::fromUtf8("Programma già in uso") + "\r\n"
                             + line
                             + "\r\nNome Computer: PC02\r\nNome Utente: luigi\r\nProgramma: registryadmin\r\n"
                             + "Data/Ora Lock: " + QLocale::system().toString(QDate(2024, 2, 3), QLocale::ShortFormat)
                             + " 04:05:06";
    ASSERT_EQ(fMessages.Messages().size(), 1u);
    EXPECT_EQ(fMessages.Messages()[0].first, TMessagePresenter::Kind::Error);
    EXPECT_EQ(fMessages.Messages()[0].second, expected);

    // Unlocking deletes the row whoever holds it.
    fServer.Expect("DELETE APLCK00F WHERE Type='ACT' and Name='Stock' and Identifier=1");
    fProxy.ApplicativeUnlock(lt_Action, "Stock", 1);
}

TEST_P(LocksTest, AnInsertThatFailsForItsOwnReasonIsNoLock)
{
    const QString name(40, u'x');   // longer than the lock table's name column
    for (int attempt = 0; attempt < 3; ++attempt) {
        fServer.ExpectFailure(Insert("FUN", name, 2), "String or binary data would be truncated.");
        fServer.Expect(Read("FUN", name, 2), {{"TYPE"}, {}});
    }
    EXPECT_FALSE(fProxy.ApplicativeLock(lt_Function, name, 2));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("truncated")) << Messages()[0].toStdString();
}

RUN_ON_BOTH_SERVERS(LocksTest);
