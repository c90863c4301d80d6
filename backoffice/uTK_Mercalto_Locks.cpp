// Applicative locks: one row of aplck00f per locked object, naming the holder's server connection
// by its process id and login time.
#include "uTK_Mercalto.h"

#include "DbValues.h"
#include "Environment.h"
#include "uTK_Base.h"

#include <QLocale>

namespace {

// Stale locks are removed and the lock taken again; this bounds the rounds when other programs keep
// taking and dropping the same lock meanwhile.
constexpr int kMaxLockAttempts = 3;

QString LockTypeCode(tTK_LockType aType)
{
    switch (aType) {
    case lt_Program: return QStringLiteral("PGM");
    case lt_Record: return QStringLiteral("REC");
    case lt_Action: return QStringLiteral("ACT");
    case lt_Function: return QStringLiteral("FUN");
    }
    return QStringLiteral("???");
}

QString InUseText(tTK_LockType aType)
{
    switch (aType) {
    case lt_Program:
    case lt_Action: return QString::fromUtf8("Programma già in uso");
    case lt_Record: return QString::fromUtf8("Record già in uso");
    case lt_Function: return QString::fromUtf8("Funzione già in uso");
    }
    return {};
}

// The holder of a lock, as its row tells it.
struct TLockHolder
{
    TDateTime fLockTime;
    QString fUser;
    QString fComputer;
    QString fProgram;
};

QString HeldMessage(tTK_LockType aType, const TLockHolder& aHolder)
{
    const QString line(40, u'-');
    const QString crlf = QStringLiteral("\r\n");
    const QLocale locale = QLocale::system();
    const QString when = locale.toString(aHolder.fLockTime.Date(), QLocale::ShortFormat) + u' '
                         + aHolder.fLockTime.Time().toString(QStringLiteral("hh:mm:ss"));
    return QStringLiteral("Attenzione!") + crlf + line + crlf + InUseText(aType) + crlf + line + crlf
           + QStringLiteral("Nome Computer: ") + aHolder.fComputer + crlf + QStringLiteral("Nome Utente: ")
           + aHolder.fUser + crlf + QStringLiteral("Programma: ") + aHolder.fProgram + crlf
           + QStringLiteral("Data/Ora Lock: ") + when;
}

// Equal to the millisecond, as the server keeps them.
bool SameMoment(TDateTime a, TDateTime b)
{
    return DbValues::IsoDateTime(a) == DbValues::IsoDateTime(b);
}

}

bool tTK_MercaltoProxy::ApplicativeLock(tTK_LockType aType, const QString& aName, int aId)
{
    return TryLock(aType, aName, aId, 1);
}

bool tTK_MercaltoProxy::TryLock(tTK_LockType aType, const QString& aName, int aId, int aAttempt)
{
    const QString code = LockTypeCode(aType);
    const QStringList parameters = Environment::CommandLine();
    QString insertError;
    try {
        return ExecuteSQLCommand(
            QStringLiteral("insert aplck00f (TYPE,NAME,IDENTIFIER,TIMELCK,SPID,SPTM,MERCUSER,PCNAME,PGMNAME,PGMPARAM) "
                           "values (")
            + SqlStr(code) + u',' + SqlStr(aName) + u',' + SqlInt(aId) + u',' + SqlDateTime(TDateTime::Now()) + u','
            + QStringLiteral("@@SPID,") + SqlDateTime(fLoginDateTime) + u',' + SqlStr(GetUserNameEnv()) + u','
            + SqlStr(GetComputerNameEnv()) + u',' + SqlStr(GetExeBaseName()) + u','
            + SqlStr(parameters.value(0)) + u')');
    } catch (const std::exception& e) {
        insertError = QString::fromUtf8(e.what());
    }

    TLockHolder holder;
    qint64 holderPid = 0;
    TDateTime holderLogin;
    {
        auto row = Get(nt_aplck, {code, aName, aId});
        if (row->Eof()) {
            // The insert failed although nobody holds the lock: either the holder let it go
            // meanwhile, or the insert failed for a reason of its own. Only a retry tells.
            if (aAttempt < kMaxLockAttempts)
                return TryLock(aType, aName, aId, aAttempt + 1);
            ShowUserMessage(let_error, insertError);
            return false;
        }
        holderPid = row->FieldByName(QStringLiteral("SPID")).AsLargeInt();
        holderLogin = row->FieldByName(QStringLiteral("SPTM")).AsDateTime();
        if (holderPid == fSQLPid && SameMoment(holderLogin, fLoginDateTime))
            return true;
        holder.fLockTime = row->FieldByName(QStringLiteral("TIMELCK")).AsDateTime();
        holder.fUser = row->FieldByName(QStringLiteral("MERCUSER")).AsString();
        holder.fComputer = row->FieldByName(QStringLiteral("PCNAME")).AsString();
        holder.fProgram = row->FieldByName(QStringLiteral("PGMNAME")).AsString();
    }

    const bool alive = !CreateDataset(QStringLiteral("select spid from master..sysprocesses where spid=")
                                      + SqlInt(holderPid) + QStringLiteral(" and ") + QStringLiteral("login_time=")
                                      + SqlDateTime(holderLogin))
                            ->Eof();
    if (!alive && aAttempt < kMaxLockAttempts) {
        ApplicativeUnlock(aType, aName, aId);
        return TryLock(aType, aName, aId, aAttempt + 1);
    }
    ShowUserMessage(let_error, HeldMessage(aType, holder));
    return false;
}

void tTK_MercaltoProxy::ApplicativeUnlock(tTK_LockType aType, const QString& aName, int aId)
{
    ExecuteSQLCommand(QStringLiteral("DELETE APLCK00F WHERE Type=") + SqlStr(LockTypeCode(aType))
                      + QStringLiteral(" and ") + QStringLiteral("Name=") + SqlStr(aName) + QStringLiteral(" and ")
                      + QStringLiteral("Identifier=") + SqlInt(aId));
}
