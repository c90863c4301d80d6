#pragma once

// The framework: the global application object with its companions, and the helpers every part of
// the system uses for user messages, the program's environment, literals and rounding.

#include "Currency.h"
#include "StringTable.h"
#include "TDateTime.h"
#include "uTK_Base_Defs.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <vector>

class QSystemTrayIcon;
class QWidget;
class TSingleInstanceLock;
class tTK_LogWriter;
class tTK_Wait;

// One released version of the program.
class tTK_ApplicationHistory
{
public:
    const QString& Version() const { return fVersion; }
    TDateTime ReleaseDate() const { return fReleaseDate; }
    const QString& Author() const { return fAuthor; }
    const QStringList& Text() const { return fText; }

    void SetVersion(const QString& aValue) { fVersion = aValue; }
    void SetReleaseDate(TDateTime aValue) { fReleaseDate = aValue; }
    void SetAuthor(const QString& aValue) { fAuthor = aValue; }
    void AddText(const QString& aLine) { fText << aLine; }

private:
    QString fVersion;
    TDateTime fReleaseDate;
    QString fAuthor;
    QStringList fText;
};

// The program's version and release history, read from its version table.
class tTK_ApplicationInfo
{
public:
    // Where each program carries its version table (numbered lines from 10000).
    static inline const QString DefaultResource = QStringLiteral(":/version/table.txt");

    const QString& Description() const { return fDescription; }
    const QString& Copyright() const { return fCopyright; }
    const QString& Version() const { return fVersion; }
    TDateTime ReleaseDate() const { return fReleaseDate; }
    const std::vector<std::unique_ptr<tTK_ApplicationHistory>>& History() const { return fHistory; }
    // "[<version> - <release date as a short date>]"
    QString VersionString() const;

    void SetDescription(const QString& aValue) { fDescription = aValue; }
    void SetCopyright(const QString& aValue) { fCopyright = aValue; }
    void SetVersion(const QString& aValue) { fVersion = aValue; }
    void SetReleaseDate(TDateTime aValue) { fReleaseDate = aValue; }

    // Reads entries from 10000 upward until 11 numbers in a row are missing.
    // An impossible release date raises the date conversion error.
    void Load(const TStringTable& aTable);
    void Load() { Load(TStringTable::FromResource(DefaultResource)); }

private:
    void ParseLine(const QString& aLine, tTK_ApplicationHistory*& aCurrent);

    QString fDescription;
    QString fCopyright;
    QString fVersion;
    TDateTime fReleaseDate;
    std::vector<std::unique_ptr<tTK_ApplicationHistory>> fHistory;
};

// A named setting of any type, kept for the life of the process.
class tTK_SetupEntry
{
public:
    tTK_SetupEntry(QString aName, QVariant aValue) : fName(std::move(aName)), fValue(std::move(aValue)) {}
    const QString& Name() const { return fName; }
    const QVariant& Value() const { return fValue; }
    void SetValue(const QVariant& aValue) { fValue = aValue; }

private:
    QString fName;
    QVariant fValue;
};

// In-memory settings by name; names are unique ignoring case and keep the spelling first given.
class tTK_Setup
{
public:
    void Define(const QString& aName) { SetValue(aName, QVariant()); }
    void SetValue(const QString& aName, const QVariant& aValue);
    QVariant GetValue(const QString& aName) const;   // empty when never set

private:
    tTK_SetupEntry* Find(const QString& aName) const;
    std::vector<std::unique_ptr<tTK_SetupEntry>> fList;
};

// The program's one application object: run-mode switches, log, messages, stopwatches,
// single-instance mode, version information and the setup store.
class tTK_Application
{
public:
    // Becomes the global object when none exists yet. Needs the widget application to exist.
    tTK_Application();
    ~tTK_Application();
    tTK_Application(const tTK_Application&) = delete;
    tTK_Application& operator=(const tTK_Application&) = delete;

    void Log(tTK_MessageType aEntryType, const QString& aMessage);

    // Message text by identifier: "<language>.<id>", then "<id>.<default language>", then the
    // identifier itself; formatted printf-style with the values.
    QString GetMessage(const QString& aMessageId, const QVariantList& aValues) const;
    // As above without values; a written "\r\n" in the result becomes a real line break.
    QString GetMessage(const QString& aMessageId) const;
    // Loads "key:value" lines; a key already present is kept.
    void LoadMessages(const QString& aText);

    void ChangeLogDirectory(const QString& aNewDir);
    void ChangeLogFilename(const QString& aNewFileName);
    QString GetLogDirectory() const;
    QString GetLogFileName() const;
    tTK_LogWriter& Logger() { return *fLogger; }

    void CreateNotifyIcon(QWidget* aForm);
    void DeleteNotifyIcon();

    // Stopwatches; StopTimer and GetTimerValue raise "Unbalanced stack or queue operation" when
    // none runs.
    void StartTimer();
    int StopTimer();
    int GetTimerValue() const;
    int GetTimerCount() const { return int(fTimers.size()); }

    // Lets pending events run, waits 500 ms, then ends the main loop.
    void Terminate();
    void ForceIsBatch() { fIsBatch = true; }

    tTK_Wait& Wait() { return *fWait; }
    tTK_Setup& Setup() { return *fSetup; }
    tTK_ApplicationInfo& Info() { return *fInfo; }
    bool NotifyIcon() const { return fNotifyIcon; }
    bool HideOnMinimize() const { return fHideOnMinimize; }
    void SetHideOnMinimize(bool aValue) { fHideOnMinimize = aValue; }
    const QString& LastError() const { return fLastError; }
    bool IsBatch() const { return fIsBatch; }
    bool IsDebug() const { return fIsDebug; }
    bool IsTest() const { return fIsTest; }
    bool SingleInstance() const { return fSingleInstance; }
    void SetSingleInstance(bool aValue);
    bool TerminateOnExceptionIfBatch() const { return fTerminateOnExceptionIfBatch; }
    void SetTerminateOnExceptionIfBatch(bool aValue) { fTerminateOnExceptionIfBatch = aValue; }
    const QString& DefaultLanguage() const { return fDefaultLanguage; }
    void SetDefaultLanguage(const QString& aValue) { fDefaultLanguage = aValue; }
    const QString& Language() const { return fLanguage; }
    void SetLanguage(const QString& aValue) { fLanguage = aValue; }

private:
    void HandleException(const std::exception& aError);

    std::unique_ptr<tTK_Setup> fSetup;
    std::unique_ptr<tTK_Wait> fWait;
    std::unique_ptr<QSystemTrayIcon> fTrayIcon;
    bool fNotifyIcon = false;
    bool fHideOnMinimize = false;
    std::unique_ptr<tTK_LogWriter> fLogger;
    QString fLastError;
    bool fIsBatch = false;
    bool fIsDebug = false;
    bool fIsTest = false;
    bool fSingleInstance = false;
    std::unique_ptr<TSingleInstanceLock> fSingleInstanceMutex;
    bool fTerminateOnExceptionIfBatch = true;
    QString fDefaultLanguage;
    QString fLanguage;
    QHash<QString, QString> fMessages;
    std::unique_ptr<tTK_ApplicationInfo> fInfo;
    std::vector<TDateTime> fTimers;
};

// The global application object; nullptr before it is created and after it is destroyed.
tTK_Application* TKApplication();

// Formats like the class library's Format: %[index:][-][width][.precision](d|u|x|s|f|e|g|n|m|%),
// "*" taking a width or precision from the values. Raises
// "Format '<format>' invalid or incompatible with argument" on a mismatch.
QString FormatText(const QString& aFormat, const QVariantList& aValues);

// --- Messages to the user: a message box, or in batch mode a let_error log line. Never raise.
void ShowUserMessageDirect(tTK_MessageType aKind, const QString& aText);
// As ShowUserMessageDirect, hiding the wait window meanwhile.
void ShowUserMessage(tTK_MessageType aKind, const QString& aText);

// --- Program environment.
QString GetWindowsDir();
QString GetExeDir();        // with a trailing separator
QString GetExeBaseName();   // file name without directory and extension
// "<base>.ini" when plain, "<base>_<COMPUTERNAME>.ini" otherwise.
QString GetIniFileName(bool aPlain);
QString GetComputerNameEnv();
QString GetUserNameEnv();
QString GetLocalIP();
// The first parameter equal to the switch or starting with it and ":" or "=", ignoring case:
// the whole parameter, or the value after the ":" or "="; empty when none matches.
QString FindSwitch(const QString& aSwitch, bool aWholeParameter);
QString GetSwitchValue(const QString& aSwitch);
// "/ENV" up to its first "|", or else the first section of the ini file that is not one of the
// general ones. Raises the file error only when it has to read a missing file.
QString GetEnvironmentName(const QString& aIniFileName);
int ShellExec(const QString& aFile, const QString& aVerb, const QString& aParameters);

// --- Text and numbers.
// Field aIndex (from 1) of the text split at aSeparator; with aToEnd, everything from that field on.
QString GetToken(const QString& aText, int aIndex, QChar aSeparator, bool aToEnd = false);
QString FormatZeroPadded(double aValue, int aWidth, int aDecimals, const QString& aDecimalSeparator,
                         bool aWithSign);
QString FormatZeroPadded(Currency aValue, int aWidth, int aDecimals, const QString& aDecimalSeparator,
                         bool aWithSign);
bool IsNumeric(const QString& aText);
// The default when the value is a typed null; an empty (never assigned) value is returned unchanged.
QVariant VarNvl(const QVariant& aValue, const QVariant& aDefault);
QString GTINCheckDigit(const QString& aDigits);
// To two decimals, halves away from zero.
Currency RoundCurr2(Currency aValue);
int TimeOfDayMs(TDateTime aValue);
// The date as the user's locale writes it short (day/month/year where the locale says nothing).
QString ShortDateText(TDateTime aDate);

// --- SQL literals.
QString SqlStr(const QString& aText);
QString SqlDate(TDateTime aValue);       // 'yyyymmdd'
QString SqlDateTime(TDateTime aValue);   // 'yyyy-mm-ddThh:nn:ss.zzz'
QString SqlCurr(Currency aValue);
QString SqlInt(qint64 aValue);

// --- XML values.
QString XmlDateTime(bool aWithMilliseconds, TDateTime aValue);
QString XmlCurr(Currency aValue);
QString XmlBool(bool aValue);
// Fixed positions yyyy-mm-ddThh:nn:ss[.zzz]; raises "DateTime Format invalid: [<text>]".
TDateTime XmlToDateTime(const QString& aText);
