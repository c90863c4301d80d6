// The global application object.
#include "uTK_Base.h"

#include "Exception.h"
#include "SingleInstanceLock.h"
#include "TApplication.h"
#include "uTK_Base_VCL.h"
#include "uTK_LogWriter.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QThread>
#include <QWidget>

namespace {
tTK_Application* gApplication = nullptr;

// Ends the main loop: at once when it runs, or as soon as it starts.
void RequestQuit(int aExitCode)
{
    QMetaObject::invokeMethod(qApp, [aExitCode] { QCoreApplication::exit(aExitCode); }, Qt::QueuedConnection);
}

bool HasSwitch(const char* aSwitch)
{
    return !FindSwitch(QString::fromLatin1(aSwitch), true).isEmpty();
}
}

tTK_Application* TKApplication()
{
    return gApplication;
}

tTK_Application::tTK_Application()
{
    fWait = std::make_unique<tTK_Wait>();
    fSetup = std::make_unique<tTK_Setup>();
    fLogger = std::make_unique<tTK_LogWriter>(GetExeBaseName(), JoinPath(GetExeDir(), QStringLiteral("LogFiles")),
                                              0, false);
    fIsBatch = HasSwitch("/BATCH");
    fIsDebug = HasSwitch("/DEBUG");
    fIsTest = HasSwitch("/TEST");
    TApplication::SetExceptionHandler([this](const std::exception& e) { HandleException(e); });
    fInfo = std::make_unique<tTK_ApplicationInfo>();
    fInfo->Load();
    if (auto messages = ReadResourceText(QStringLiteral(":/MESSAGES")))
        LoadMessages(*messages);
    if (!gApplication)
        gApplication = this;
}

tTK_Application::~tTK_Application()
{
    DeleteNotifyIcon();
    TApplication::SetExceptionHandler({});
    if (gApplication == this)
        gApplication = nullptr;
    fSetup.reset();
    fLogger.reset();   // writes out every queued line first
    fWait.reset();
}

void tTK_Application::Log(tTK_MessageType aEntryType, const QString& aMessage)
{
    if (aEntryType == let_error)
        fLastError = aMessage;
    fLogger->Write(aEntryType, aMessage);
}

void tTK_Application::LoadMessages(const QString& aText)
{
    const auto lines = aText.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QString key = GetToken(line, 1, u':');
        if (!fMessages.contains(key))
            fMessages.insert(key, GetToken(line, 2, u':'));
    }
}

QString tTK_Application::GetMessage(const QString& aMessageId, const QVariantList& aValues) const
{
    QString format = aMessageId;
    auto byLanguage = fMessages.constFind(fLanguage + u'.' + aMessageId);
    auto byDefault = fMessages.constFind(aMessageId + u'.' + fDefaultLanguage);
    if (byLanguage != fMessages.constEnd())
        format = *byLanguage;
    else if (byDefault != fMessages.constEnd())
        format = *byDefault;
    return FormatText(format, aValues);
}

QString tTK_Application::GetMessage(const QString& aMessageId) const
{
    return GetMessage(aMessageId, {}).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
}

void tTK_Application::ChangeLogDirectory(const QString& aNewDir)
{
    fLogger->SetDirectory(JoinPath(JoinPath(GetExeDir(), QStringLiteral("LogFiles")), aNewDir));
}

void tTK_Application::ChangeLogFilename(const QString& aNewFileName)
{
    fLogger->SetFileName(aNewFileName);
}

QString tTK_Application::GetLogDirectory() const
{
    return fLogger->Directory();
}

QString tTK_Application::GetLogFileName() const
{
    return fLogger->FileName();
}

void tTK_Application::CreateNotifyIcon(QWidget* aForm)
{
    fTrayIcon = std::make_unique<QSystemTrayIcon>(aForm->windowIcon());
    fTrayIcon->show();
    fNotifyIcon = true;
}

void tTK_Application::DeleteNotifyIcon()
{
    if (!fNotifyIcon)
        return;
    fTrayIcon.reset();
    fNotifyIcon = false;
}

void tTK_Application::StartTimer()
{
    fTimers.push_back(TDateTime::Now());
}

int tTK_Application::GetTimerValue() const
{
    if (fTimers.empty())
        throw Exception(QStringLiteral("Unbalanced stack or queue operation"));
    return TimeOfDayMs(TDateTime::Now()) - TimeOfDayMs(fTimers.back());
}

int tTK_Application::StopTimer()
{
    int elapsed = GetTimerValue();
    fTimers.pop_back();
    return elapsed;
}

void tTK_Application::Terminate()
{
    QCoreApplication::processEvents();
    QThread::msleep(500);
    RequestQuit(0);
}

void tTK_Application::SetSingleInstance(bool aValue)
{
    if (aValue == fSingleInstance)
        return;
    fSingleInstance = aValue;
    if (!aValue) {
        if (fSingleInstanceMutex)
            fSingleInstanceMutex->Release();
        return;
    }
    fSingleInstanceMutex = std::make_unique<TSingleInstanceLock>(GetExeBaseName());
    if (!fSingleInstanceMutex->TryAcquire()) {
        fSingleInstanceMutex.reset();
        ShowUserMessage(let_error, QStringLiteral("Impossible to enter single instance mode."));
        Terminate();
    }
}

void tTK_Application::HandleException(const std::exception& aError)
{
    auto* error = dynamic_cast<const Exception*>(&aError);
    QString message = error ? error->Message() : QString::fromUtf8(aError.what());
    if (!message.isEmpty())
        ShowUserMessage(let_error, message);
    // A batch run that failed must not look like a success to whoever scheduled it.
    if (fIsBatch && fTerminateOnExceptionIfBatch)
        RequestQuit(1);
}
