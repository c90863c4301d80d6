// Start-up from the back-office configuration file mer.ini, and the program's own setup file.
#include "uTK_Mercalto.h"

#include "Environment.h"
#include "IniFile.h"
#include "uTK_Base.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kMerIni = QStringLiteral("mer.ini");

// mer.ini of the Windows directory, else of the program's directory; empty when neither exists.
QString FindMerIni()
{
    const QString candidates[] = {QDir::toNativeSeparators(QDir(GetWindowsDir()).filePath(kMerIni)),
                                  GetExeDir() + kMerIni};
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return path;
    return {};
}

}

bool tTK_MercaltoProxy::Init(bool aSingleInstance)
{
    fSingleInstance = aSingleInstance;
    fTestEnvironment = false;
    fActive = false;

    fUser = GetSwitchValue(QStringLiteral("/U"));
    if (fUser.isEmpty())
        fUser = GetUserNameEnv();
    if (!fForcedUser.isEmpty())
        fUser = fForcedUser;

    const QString iniFile = FindMerIni();
    if (iniFile.isEmpty()) {
        ShowUserMessage(let_error, QStringLiteral("mer.ini file non found."));
        return false;
    }
    fIniFileName = iniFile;
    fEnvironment = GetEnvironmentName(iniFile);

    const TIniFile ini(iniFile);
    if (fEnvironment.isEmpty() || !ini.SectionExists(fEnvironment)) {
        ShowUserMessage(let_error, QStringLiteral("Environment %1 non esistente").arg(fEnvironment));
        return false;
    }
    const bool local = !FindSwitch(QStringLiteral("/LOC"), true).isEmpty();
    const QString suffix = local ? QStringLiteral("Local") : QString();
    fDataSource = ini.ReadString(fEnvironment, QStringLiteral("Cfg_DataSource") + suffix);
    fDbName = ini.ReadString(fEnvironment, QStringLiteral("Cfg_DbName") + suffix);
    fDBUserName = ini.ReadString(fEnvironment, QStringLiteral("Cfg_UserName") + suffix);
    fDBUserPwd = ini.ReadString(fEnvironment, QStringLiteral("Cfg_UserPwd") + suffix);
    fTestEnvironment = ini.ReadString(fEnvironment, QStringLiteral("Cfg_EnvType")).toLower() == u"test";

    LoadSetup();
    bool result = Connect();
    if (result && aSingleInstance)
        result = ApplicativeLock(lt_Program, GetExeBaseName(), 0);
    fActive = result;
    return result;
}

void tTK_MercaltoProxy::LoadSetup()
{
    fSetup.clear();
    QString path = GetExeDir() + GetIniFileName(false);
    if (!QFileInfo(path).isFile())
        path = GetExeDir() + GetIniFileName(true);
    if (!QFileInfo(path).isFile())
        return;
    fSetup = TextLines(ReadTextFile(path));
}

QString tTK_MercaltoProxy::GetSetupValue(const QString& aName) const
{
    return LineValue(fSetup, aName);
}

bool tTK_MercaltoProxy::ExistsSetupValue(const QString& aName) const
{
    return fSetup.contains(aName, Qt::CaseInsensitive);
}
