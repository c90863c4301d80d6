// Making the registry file: the schema, the master data, the receipts and the series in one
// transaction, written beside the target and put in its place only once complete.
#include "uSampleRegistry.h"

#include "DbCommand.h"
#include "DbConnection.h"
#include "Exception.h"
#include "uSampleRegistry_Internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kIniFileName = QStringLiteral("auditexport.ini");
// The shops are open from 09:00 to 21:00; receipts fall on whole seconds of those hours.
constexpr int kOpening = 9 * 3600;
constexpr int64_t kSecondsOpen = 12 * 3600;

const QString kInsertCompany = QStringLiteral(
    "insert into CompanyRecord (Id, Company_VATId, Company_TaxRegistrationNumber, Company_Name, "
    "Company_BusinessName, Company_AddressDetail, Company_City, Company_PostalCode, Company_Region, Company_Country) "
    "values (:Id, :VATId, :TaxRegistrationNumber, :Name, :BusinessName, :AddressDetail, :City, :PostalCode, "
    ":Region, 'PT')");
const QString kInsertBranch = QStringLiteral(
    "insert into BranchRecord (Id, Branch_Code, Branch_Name, Branch_AddressDetail, Branch_City, Branch_PostalCode, "
    "Branch_Region, Branch_Country, Branch_Company, InvoiceDocumentType, CreditNoteDocumentType, "
    "InvoiceSerieTemplate, CreditNoteSerieTemplate, TaxCountryRegion) "
    "values (:Id, :Code, :Name, :AddressDetail, :City, :PostalCode, :Region, 'PT', :Company, 'FR', 'NC', "
    ":Template, :Template, 'PT')");
const QString kInsertSeries = QStringLiteral(
    "insert into Series (Id, Serie_Code, Serie_Validation_Code, Serie_LastNumber, Serie_Closed, Serie_LastDate, "
    "Serie_LastHash, Serie_LastBranch_Code, Serie_LastTill_Code) "
    "values (:Id, :Code, :ValidationCode, :LastNumber, :Closed, :LastDate, :LastHash, :LastBranchCode, :LastTillCode)");
const QString kInsertReceipt = QStringLiteral(
    "insert into Receipts (ReceiptDateTime, ReceiptNumber, Serie, Number, Status, SystemEntryDateTime, "
    "LastReceiptStatusOperator, LastStatusDateTime, DocumentType, SourceBilling, ManualDocumentNumber, FiscalId, "
    "Hash, Receipt) "
    "values (:ReceiptDateTime, :ReceiptNumber, :Serie, :Number, :Status, :SystemEntryDateTime, "
    ":LastReceiptStatusOperator, :LastStatusDateTime, :DocumentType, :SourceBilling, :ManualDocumentNumber, "
    ":FiscalId, :Hash, :Receipt)");

// Empty text and the zero date are stored as nulls, as the tills leave what they do not know.
TDbParam Text(const char* aName, const QString& aValue)
{
    return {QString::fromLatin1(aName), aValue.isEmpty() ? QVariant() : QVariant(aValue), ftWideString};
}

TDbParam Time(const char* aName, TDateTime aValue)
{
    return {QString::fromLatin1(aName), aValue.IsZero() ? QVariant() : QVariant::fromValue(aValue), ftDateTime};
}

TDbParam Integer(const char* aName, int aValue)
{
    return {QString::fromLatin1(aName), aValue, ftInteger};
}

void CheckOptions(const tkSampleRegistryOptions& aOptions)
{
    if (aOptions.FileName.isEmpty())
        throw Exception(QStringLiteral("No file name given for the registry"));
    if (aOptions.ReceiptCount < 1)
        throw Exception(QStringLiteral("The number of receipts must be at least 1, not %1").arg(aOptions.ReceiptCount));
    if (aOptions.FirstDay.IsZero() || aOptions.LastDay.IsZero() || aOptions.LastDay < aOptions.FirstDay)
        throw Exception(QStringLiteral("The last day (%1) comes before the first day (%2)")
                            .arg(aOptions.LastDay.Format(QStringLiteral("yyyy-MM-dd")),
                                 aOptions.FirstDay.Format(QStringLiteral("yyyy-MM-dd"))));
    const int64_t days = aOptions.FirstDay.Date().daysTo(aOptions.LastDay.Date()) + 1;
    if (aOptions.ReceiptCount > days * kSecondsOpen)
        throw Exception(QStringLiteral("%1 receipts do not fit between %2 and %3: a day takes at most %4")
                            .arg(aOptions.ReceiptCount)
                            .arg(aOptions.FirstDay.Format(QStringLiteral("yyyy-MM-dd")),
                                 aOptions.LastDay.Format(QStringLiteral("yyyy-MM-dd")))
                            .arg(kSecondsOpen));
}

// Refuses to replace a file unless asked to, and anything that is not a file.
void CheckTarget(const QString& aFileName, bool aOverwrite)
{
    const QFileInfo target(aFileName);
    if (!target.dir().exists())
        throw Exception(QStringLiteral("Folder \"%1\" not found").arg(QDir::toNativeSeparators(target.absolutePath())));
    if (target.exists() && !target.isFile())
        throw Exception(QStringLiteral("\"%1\" is not a file").arg(QDir::toNativeSeparators(aFileName)));
    if (target.exists() && !aOverwrite)
        throw Exception(QStringLiteral("\"%1\" exists already; it is replaced only when asked to (--overwrite)")
                            .arg(QDir::toNativeSeparators(aFileName)));
}

// The statements of the schema script, which has no ";" but at the end of its statements.
QStringList SchemaStatements()
{
    QFile script(QStringLiteral(":/sampleregistry/registry.sqlite.sql"));
    if (!script.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The registry schema is missing from the program"));
    QString text;
    for (const QString& line : QString::fromUtf8(script.readAll()).split(u'\n'))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            text += line + u'\n';
    QStringList statements;
    for (const QString& statement : text.split(u';'))
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    return statements;
}

}

void CreateRegistrySchema(TDbConnection& aConnection)
{
    for (const QString& statement : SchemaStatements())
        TDbCommand(aConnection, statement).Execute();
}

namespace {

void InsertMasterData(TDbConnection& aConnection)
{
    TDbCommand company(aConnection, kInsertCompany);
    for (const tkSampleCompany& c : kSampleCatalogue::Companies())
        company.Execute({Text("Id", c.Id), Text("VATId", c.VATId), Text("TaxRegistrationNumber", c.VATId),
                         Text("Name", c.Name), Text("BusinessName", c.BusinessName),
                         Text("AddressDetail", c.Address.AddressDetail), Text("City", c.Address.City),
                         Text("PostalCode", c.Address.PostalCode), Text("Region", c.Address.Region)});
    TDbCommand branch(aConnection, kInsertBranch);
    for (const tkSampleBranch& b : kSampleCatalogue::Branches())
        branch.Execute({Text("Id", b.Id), Text("Code", b.Code), Text("Name", b.Name),
                        Text("AddressDetail", b.Address.AddressDetail), Text("City", b.Address.City),
                        Text("PostalCode", b.Address.PostalCode), Text("Region", b.Address.Region),
                        Text("Company", kSampleCatalogue::Companies()[size_t(b.Company)].Id),
                        Text("Template", QStringLiteral("{{YYYY}}") + b.SeriesSuffix)});
}

void InsertSeries(TDbConnection& aConnection, const std::vector<tkSampleSeries>& aSeries)
{
    TDbCommand insert(aConnection, kInsertSeries);
    for (const tkSampleSeries& s : aSeries)
        insert.Execute({Text("Id", s.Id), Text("Code", s.Code), Text("ValidationCode", s.ValidationCode),
                        Integer("LastNumber", s.LastNumber), Integer("Closed", s.Closed ? 1 : 0),
                        Time("LastDate", s.LastDate), Text("LastHash", s.LastHash),
                        Text("LastBranchCode", s.LastBranchCode), Text("LastTillCode", s.LastTillCode)});
}

// The aIndex-th of aCount receipts gets a second of its own share of the opening hours, so the
// receipts keep their order and no two share a time.
TDateTime ReceiptTime(tkSampleRandom& aRandom, const tkSampleRegistryOptions& aOptions, int aIndex)
{
    const int64_t days = aOptions.FirstDay.Date().daysTo(aOptions.LastDay.Date()) + 1;
    const __int128 seconds = __int128(days) * kSecondsOpen;
    const int64_t from = int64_t(seconds * aIndex / aOptions.ReceiptCount);
    const int64_t to = int64_t(seconds * (aIndex + 1) / aOptions.ReceiptCount);
    const int64_t slot = from + aRandom.Below(to - from);
    const QDate date = aOptions.FirstDay.Date().addDays(slot / kSecondsOpen);
    const int second = kOpening + int(slot % kSecondsOpen);
    return TDateTime::EncodeDateTime(date.year(), date.month(), date.day(), second / 3600, second / 60 % 60,
                                     second % 60, 0);
}

void InsertReceipts(TDbConnection& aConnection, const tkSampleRegistryOptions& aOptions,
                    tkSampleRegistrySummary& aSummary)
{
    tkSampleRandom random(aOptions.Seed);
    kSampleDocuments documents(random, aOptions.FirstDay.Date().year(), aOptions.LastDay.Date().year());
    TDbCommand insert(aConnection, kInsertReceipt);
    for (int i = 0; i < aOptions.ReceiptCount; ++i) {
        const TDateTime when = ReceiptTime(random, aOptions, i);
        const tkSampleDocument d = documents.Issue(kSamplePlanner::Plan(random, i), when);
        insert.Execute({Time("ReceiptDateTime", d.ReceiptDateTime), Text("ReceiptNumber", d.ReceiptNumber),
                        Text("Serie", d.Serie), Integer("Number", d.Number), Text("Status", d.Status),
                        Time("SystemEntryDateTime", d.SystemEntryDateTime),
                        Text("LastReceiptStatusOperator", d.LastReceiptStatusOperator),
                        Time("LastStatusDateTime", d.LastStatusDateTime), Text("DocumentType", d.DocumentType),
                        Text("SourceBilling", d.SourceBilling), Text("ManualDocumentNumber", d.ManualDocumentNumber),
                        Text("FiscalId", d.FiscalId), Text("Hash", d.Hash), Text("Receipt", d.Receipt)});
        ++aSummary.Receipts;
        aSummary.CreditNotes += d.DocumentType == u"NC";
        aSummary.Cancelled += d.Status == u"A";
        aSummary.HandWritten += d.SourceBilling == u"M";
        aSummary.Recovered += d.SourceBilling == u"D";
        if (i == 0)
            aSummary.FirstReceipt = when;
        aSummary.LastReceipt = when;
    }
    InsertSeries(aConnection, documents.Series());
    aSummary.Series = int(documents.Series().size());
}

// Fills the empty database file aFileName.
void Fill(const QString& aFileName, const tkSampleRegistryOptions& aOptions, tkSampleRegistrySummary& aSummary)
{
    TDbConnection connection;
    connection.SetConnectionString(QStringLiteral("Data Source=sqlite;Initial Catalog=")
                                   + TDbConnectionSettings::QuoteValue(aFileName) + u';');
    connection.Open();
    connection.BeginTrans();
    try {
        CreateRegistrySchema(connection);
        InsertMasterData(connection);
        InsertReceipts(connection, aOptions, aSummary);
        connection.CommitTrans();
    } catch (...) {
        if (connection.InTransaction()) {
            try {
                connection.RollbackTrans();
            } catch (const Exception&) {
                // The file is removed anyway; the first error is the one to tell.
            }
        }
        throw;
    }
}

void WriteNewFile(const QString& aFileName, const QByteArray& aContent)
{
    QFile file(aFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(aContent) != aContent.size()
        || !file.flush())
        throw Exception(
            QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(aFileName), file.errorString()));
}

void Replace(const QString& aNewFile, const QString& aFileName)
{
    if ((QFile::exists(aFileName) && !QFile::remove(aFileName)) || !QFile::rename(aNewFile, aFileName)) {
        QFile::remove(aNewFile);
        throw Exception(QStringLiteral("Cannot replace \"%1\"").arg(QDir::toNativeSeparators(aFileName)));
    }
}

}

tkSampleRegistrySummary MakeSampleRegistry(const tkSampleRegistryOptions& aOptions)
{
    CheckOptions(aOptions);
    const QFileInfo target(aOptions.FileName);
    tkSampleRegistrySummary summary;
    summary.FileName = target.absoluteFilePath();
    if (aOptions.WriteIniFile)
        summary.IniFileName = target.absoluteDir().filePath(kIniFileName);
    CheckTarget(summary.FileName, aOptions.Overwrite);
    if (aOptions.WriteIniFile)
        CheckTarget(summary.IniFileName, aOptions.Overwrite);

    // Built under a name of its own, so that a failure leaves an existing registry as it was.
    const QString newDatabase = summary.FileName + QStringLiteral(".new");
    const QString newIni = aOptions.WriteIniFile ? summary.IniFileName + QStringLiteral(".new") : QString();
    WriteNewFile(newDatabase, {});
    try {
        Fill(newDatabase, aOptions, summary);
        if (aOptions.WriteIniFile)
            WriteNewFile(
                newIni,
                QStringLiteral("[auditexport]\r\nDataSource=sqlite\r\nDBName=%1\r\n").arg(target.fileName()).toUtf8());
    } catch (...) {
        QFile::remove(newDatabase);
        if (!newIni.isEmpty())
            QFile::remove(newIni);
        throw;
    }
    Replace(newDatabase, summary.FileName);
    if (aOptions.WriteIniFile)
        Replace(newIni, summary.IniFileName);

    for (const tkSampleBranch& branch : kSampleCatalogue::Branches())
        summary.StoreCodes << branch.Code;
    summary.Companies = int(kSampleCatalogue::Companies().size());
    return summary;
}
