// The proxy: connection, datasets and commands, catalogue helpers.
#include "uTK_Mercalto.h"

#include "DbCommand.h"
#include "Exception.h"
#include "IniFile.h"
#include "uTK_Base.h"

#include <QFile>

tTK_MercaltoProxy* MercaltoProxy = nullptr;

namespace {

constexpr int kCommandTimeout = 3600;

void Log(tTK_MessageType aKind, const QString& aText)
{
    if (tTK_Application* app = TKApplication())
        app->Log(aKind, aText);
}

// The name as the catalogue statements test it: bracketed, and looked up in tempdb when it is a
// temporary table.
struct TTableName
{
    explicit TTableName(const QString& aName)
        : fBracketed(u'[' + QString(aName).replace(u']', QStringLiteral("]]")) + u']'),
          fTested(fBracketed.startsWith(QLatin1String("[#")) ? QStringLiteral("tempdb..") + fBracketed : fBracketed)
    {
    }
    QString fBracketed;
    QString fTested;
};

// The "column=value" lines of aFieldList whose column belongs to the table.
std::vector<std::pair<QString, QString>> MatchingFields(const QStringList& aFieldList, const QStringList& aColumns)
{
    std::vector<std::pair<QString, QString>> fields;
    for (const QString& line : aFieldList) {
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq < 0 ? line : line.left(eq);
        if (aColumns.contains(name.toLower()))
            fields.emplace_back(name, eq < 0 ? QString() : line.mid(eq + 1));
    }
    return fields;
}

}

tTK_MercaltoProxy::tTK_MercaltoProxy()
    : fConnection(std::make_unique<TDbConnection>()), fGetter(std::make_unique<tTK_MercaltoRecordGetter>(*this))
{
}

tTK_MercaltoProxy::~tTK_MercaltoProxy()
{
    try {
        if (fConnection->Connected()) {
            // Only a lock this proxy took is released: a copy refused at start leaves the running
            // copy's lock alone.
            if (fSingleInstance && fActive)
                ApplicativeUnlock(lt_Program, GetExeBaseName(), 0);
            Disconnect();
        }
    } catch (const std::exception& e) {
        // A proxy going away must not take the program with it; the lock turns stale on its own.
        Log(let_error, QString::fromUtf8(e.what()));
    }
    if (MercaltoProxy == this)
        MercaltoProxy = nullptr;
}

QString tTK_MercaltoProxy::BuildConnectionString() const
{
    QString s = QStringLiteral("Provider=SQLOLEDB.1;Data Source=") + TDbConnectionSettings::QuoteValue(fDataSource)
                + QStringLiteral(";Initial Catalog=") + TDbConnectionSettings::QuoteValue(fDbName)
                + QStringLiteral(";Persist Security Info=True;");
    if (!fDBUserName.isEmpty())
        s += QStringLiteral("User ID=") + TDbConnectionSettings::QuoteValue(fDBUserName) + QStringLiteral(";Password=")
             + TDbConnectionSettings::QuoteValue(fDBUserPwd) + u';';
    else
        s += QStringLiteral("Integrated Security=SSPI;");
    return s;
}

void tTK_MercaltoProxy::ReadSession()
{
    auto ds = CreateDataset(QStringLiteral("select login_time,spid from master..sysprocesses where spid=@@spid"));
    if (!ds->Eof()) {
        fLoginDateTime = ds->FieldByName(QStringLiteral("login_time")).AsDateTime();
        fSQLPid = ds->FieldByName(QStringLiteral("spid")).AsInteger();
    }
}

bool tTK_MercaltoProxy::Connect()
{
    fConnectionError.clear();
    try {
        fConnection->Close();
        fConnection->SetConnectionString(BuildConnectionString());
        fConnection->SetApplicationName(fApplicationName);
        fConnection->Open();
        ReadSession();
    } catch (const std::exception& e) {
        fConnectionError = QString::fromUtf8(e.what());
        Log(let_error, QStringLiteral("Connect:") + fConnectionError);
    }
    return fConnection->Connected();
}

bool tTK_MercaltoProxy::CheckConnection()
{
    try {
        CreateDataset(QStringLiteral("SELECT @@SERVERNAME"));
        return true;
    } catch (const std::exception& e) {
        Log(let_info, QStringLiteral("Database Connection Error: retry ") + QString::fromUtf8(e.what()));
    }
    try {
        fConnection->Close();
        fConnection->Open();
        // A new session: locks taken from now on must carry its own process id and login time.
        ReadSession();
        return true;
    } catch (const std::exception& e) {
        Log(let_error, QString::fromUtf8(e.what()));
        return false;
    }
}

bool tTK_MercaltoProxy::Disconnect()
{
    fConnection->Close();
    return !fConnection->Connected();
}

std::unique_ptr<tTK_MercaltoDataset> tTK_MercaltoProxy::CreateDataset(const QString& aSQL,
                                                                       const tTK_SQLParams& aParams)
{
    auto ds = std::make_unique<tTK_MercaltoDataset>(*fConnection);
    ds->SetSQL(aSQL);
    ds->SetCommandTimeout(kCommandTimeout);
    ds->Open(aParams);
    return ds;
}

QString tTK_MercaltoProxy::SqlResource(const QString& aResName)
{
    const QString path = QStringLiteral(":/sql/") + aResName;
    if (aResName.isEmpty() || !QFile::exists(path))
        throw Exception(QStringLiteral("SQL Resource %1 not found").arg(aResName));
    return TextLines(ReadTextFile(path)).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

std::unique_ptr<tTK_MercaltoDataset> tTK_MercaltoProxy::CreateDatasetFromRes(const QString& aResName,
                                                                              const tTK_SQLParams& aParams)
{
    return CreateDataset(SqlResource(aResName), aParams);
}

void tTK_MercaltoProxy::DestroyDataset(std::unique_ptr<tTK_MercaltoDataset>& aDataset)
{
    if (aDataset)
        aDataset->Close();
    aDataset.reset();
}

bool tTK_MercaltoProxy::ExecuteSQLCommand(const QString& aSQL, const tTK_SQLParams& aParams)
{
    TDbCommand command(*fConnection, aSQL);
    command.SetCommandTimeout(kCommandTimeout);
    command.Execute(aParams);
    return true;
}

bool tTK_MercaltoProxy::ExecuteSQLCommandFromRes(const QString& aResName, const tTK_SQLParams& aParams)
{
    return ExecuteSQLCommand(SqlResource(aResName), aParams);
}

void tTK_MercaltoProxy::DropTable(const QString& aTableName)
{
    const TTableName name(aTableName);
    ExecuteSQLCommand(QStringLiteral("if not object_id(") + SqlStr(name.fTested) + QStringLiteral(") is null\r\n")
                      + QStringLiteral("drop table ") + name.fBracketed);
}

bool tTK_MercaltoProxy::TableExists(const QString& aTableName)
{
    const TTableName name(aTableName);
    tTK_MercaltoDataset ds(*fConnection);
    ds.SetSQL(QStringLiteral("select case when object_id(") + SqlStr(name.fTested)
              + QStringLiteral(") is null then 0 else 1 end as Value"));
    ds.Open();
    return ds.FieldByName(QStringLiteral("Value")).AsString() == u"1";
}

QStringList tTK_MercaltoProxy::GetFieldNames(tTK_MerTable aTable)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    auto ds = CreateDataset(QStringLiteral("select name from sys.columns where object_id=object_id(")
                            + SqlStr(map.tablename) + QStringLiteral(") order by column_id"));
    QStringList names;
    for (; !ds->Eof(); ds->Next())
        names << ds->FieldByName(QStringLiteral("name")).AsString().toLower();
    return names;
}

bool tTK_MercaltoProxy::InsertRecord(tTK_MerTable aTable, const QStringList& aFieldList)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    QStringList names, values;
    for (const auto& [name, value] : MatchingFields(aFieldList, GetFieldNames(aTable))) {
        names << name;
        values << SqlStr(value);
    }
    return ExecuteSQLCommand(QStringLiteral("INSERT ") + map.tablename + QStringLiteral(" (") + names.join(u',')
                             + QStringLiteral(") VALUES(") + values.join(u',') + u')');
}

bool tTK_MercaltoProxy::UpdateRecord(tTK_MerTable aTable, const QStringList& aFieldList,
                                     const QVariantList& aKeyValues)
{
    const tTK_MerDecodeMap& map = GetMerDecodeMap(aTable);
    QStringList assignments;
    for (const auto& [name, value] : MatchingFields(aFieldList, GetFieldNames(aTable)))
        assignments << name + u'=' + SqlStr(value);
    return ExecuteSQLCommand(QStringLiteral("update ") + map.tablename + QStringLiteral(" set ")
                             + assignments.join(u',') + QStringLiteral(" where ")
                             + MerKeyCondition(map, aKeyValues));
}

int tTK_MercaltoProxy::LastRowCount()
{
    auto ds = CreateDataset(QStringLiteral("select @@rowcount as RecordsAffected"));
    return ds->FieldByName(QStringLiteral("RecordsAffected")).AsInteger();
}

bool tTK_MercaltoProxy::IsProgramRunning(const QString& aProgramName)
{
    auto ds = CreateDataset(QStringLiteral("select count(*) as num from master..sysprocesses where program_name like ")
                            + SqlStr(aProgramName + u'%'));
    return ds->FieldByName(QStringLiteral("num")).AsInteger() > 0;
}

QStringList tTK_MercaltoProxy::TextLines(const QString& aText)
{
    QString text = aText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString tTK_MercaltoProxy::LineValue(const QStringList& aLines, const QString& aName)
{
    for (const QString& line : aLines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.left(eq).compare(aName, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}

QString tTK_MercaltoProxy::NormalizeString(const QString& aString)
{
    static const QString kRemoved = QString::fromUtf8(" |\\!?$%/()=^,.;:_-ø+*@#\"");
    QString result;
    result.reserve(aString.size());
    for (QChar c : aString)
        if (!kRemoved.contains(c))
            result += c;
    return result;
}

std::unique_ptr<tTK_MercaltoDataset> tTK_MercaltoProxy::Get(tTK_MerTable aTable, const QVariantList& aKeyValues)
{
    return fGetter->Get(aTable, aKeyValues);
}

bool tTK_MercaltoProxy::Exists(tTK_MerTable aTable, const QVariantList& aKeyValues)
{
    return fGetter->Exists(aTable, aKeyValues);
}

QString tTK_MercaltoProxy::Decode(tTK_MerTable aTable, const QVariantList& aKeyValues)
{
    return fGetter->Decode(aTable, aKeyValues);
}
