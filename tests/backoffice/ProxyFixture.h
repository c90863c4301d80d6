#pragma once

#include "BackOfficeServer.h"
#include "TestSupport.h"
#include "uTK_Mercalto.h"

#include <gtest/gtest.h>

// A proxy on the back-office server of the test, with the messages it shows recorded.
class ProxyTest : public ::testing::Test
{
protected:
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

    TBackOfficeServer fServer;
    TRecordingPresenter fMessages;
    tTK_MercaltoProxy fProxy;
};

// The message of the Exception aAction raises, or "<no error>".
template <typename F>
QString ErrorOf(F aAction)
{
    try {
        aAction();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no error>");
}
