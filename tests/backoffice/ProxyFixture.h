#pragma once

#include "BackOfficeServer.h"
#include "TestSupport.h"
#include "uTK_Mercalto.h"

#include <gtest/gtest.h>

// The lock table as the back-office database has it, for the real server.
inline const QString kLockTableColumns = QStringLiteral(
    "TYPE varchar(3) not null, NAME varchar(30) not null, IDENTIFIER int not null, TIMELCK datetime null, "
    "SPID int null, SPTM datetime null, MERCUSER varchar(30) null, PCNAME varchar(30) null, "
    "PGMNAME varchar(30) null, PGMPARAM varchar(60) null, annullato char(1) null, "
    "primary key (TYPE, NAME, IDENTIFIER)");

// A proxy on the back-office server of the test, with the messages it shows recorded. Each test
// runs on the scripted stand-in and again on the real server, which is skipped, with a message,
// when SAFT_TEST_MSSQL names none.
class ProxyTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam() && !TBackOfficeServer::RealServerGiven())
            GTEST_SKIP() << "SAFT_TEST_MSSQL holds no ODBC connection string: no real SQL Server to run on";
    }

    void ConnectProxy()
    {
        fProxy.SetDataSource(QStringLiteral("SRV1"));
        fProxy.SetDbName(QStringLiteral("Shop"));
        fProxy.SetDBUserName(QStringLiteral("sa"));
        fProxy.SetDBUserPwd(QStringLiteral("secret"));
        fServer.ExpectConnect();
        ASSERT_TRUE(fProxy.Connect()) << fProxy.ConnectionError().toStdString();
    }

    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& [kind, text] : fMessages.Messages())
            texts << text;
        return texts;
    }

    TBackOfficeServer fServer{GetParam()};
    TRecordingPresenter fMessages;
    tTK_MercaltoProxy fProxy;
};


#define RUN_ON_BOTH_SERVERS(aFixture)                                                              \
    INSTANTIATE_TEST_SUITE_P(Server, aFixture, ::testing::Values(false, true),                     \
                             [](const ::testing::TestParamInfo<bool>& aInfo) {                     \
                                 return std::string(aInfo.param ? "Real" : "Scripted");            \
                             })

// Skips the rest of a test that only the stand-in can play (a refused connection, a chosen
// session), with the reason.
#define SKIP_WHEN_REAL_SERVER(aReason)                                                             \
    do {                                                                                           \
        if (fServer.IsReal())                                                                      \
            GTEST_SKIP() << "scripted only: " << (aReason);                                        \
    } while (false)
