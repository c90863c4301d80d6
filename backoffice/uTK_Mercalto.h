#pragma once

// The back-office database access: the proxy through which a program reaches its SQL Server
// database (connection and start-up, datasets and commands, the map of the tables read by key,
// configuration variables, coded tables, applicative locks), with the keyed record reader it owns.

#include "Currency.h"
#include "Dataset.h"
#include "DbConnection.h"
#include "DbTypes.h"
#include "TDateTime.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// A dataset handed out by the proxy: open, and owned by the caller.
class tTK_MercaltoDataset : public TDataset
{
public:
    using TDataset::TDataset;
};

// A named parameter of a statement: the name written after the colon, its value, and the type a
// null value is sent with.
using tTK_SQLParam = TDbParam;
using tTK_SQLParams = std::vector<tTK_SQLParam>;

tTK_SQLParam MakeSQLParam(const QString& aName, const QVariant& aValue, TFieldType aDataType = ftUnknown);

// The back-office tables reached by key.
enum tTK_MerTable : uint8_t {
    nt_anmag, nt_anart, nt_anarc, nt_dotes, nt_doana, nt_dorig, nt_doriv, nt_tbtdo, nt_anclf, nt_anspe,
    nt_octes, nt_ocrig, nt_ocriv, nt_vwocrig, nt_aplck, nt_anper, nt_invet, nt_inven, nt_anean, nt_anean2,
    nt_ancsh, nt_ancsh2, nt_tabel, nt_anfdt, nt_pgupr, nt_omtes, nt_omrig, nt_omvar, nt_omprz, nt_omqto,
    nt_tbcoa, nt_ancaf, nt_ancaf3, nt_aetes, nt_iiadr, nt_iiadr4, nt_iiadr5, nt_iiadr6, nt_imneg, nt_cmrig,
    nt_nvvia, nt_gfana, nt_ansoc, nt_aptes, nt_aneve, nt_mocsh, nt_ankit, nt_feclf, nt_fdgrp
};

// One table of the map: its name, the column describing a row (empty when none), its key columns
// in order. fieldnames is empty in the map; callers fill it where they need column names.
struct tTK_MerDecodeMap
{
    tTK_MerTable table;
    QString tablename;
    QString decodeexpression;
    QStringList keyFields;
    QStringList fieldnames;
};

// The table map, one row per table.
const std::vector<tTK_MerDecodeMap>& MerTableMap();
// The map row of aTable (the first whose table matches).
const tTK_MerDecodeMap& GetMerDecodeMap(tTK_MerTable aTable);
// "<key field>=<literal> and " for each value, then "isnull(annullato,'')<>'S' ". Integers,
// money, dates and text become SQL literals; any other value type is told to the user as
// "Tipo Dato <type number> non gestito" and contributes no literal. Fewer values than key fields
// select on the leading fields; more raise an Exception.
QString MerKeyCondition(const tTK_MerDecodeMap& aMap, const QVariantList& aKeyValues);
// The number of the variant type a value stands for (2 small integer, 3 integer, 5 double,
// 6 currency, 7 date, 11 Boolean, 258 string, ...), as the key condition reports it.
int MerVarType(const QVariant& aValue);

enum tTK_LockType : uint8_t { lt_Program, lt_Record, lt_Action, lt_Function };
enum tTK_DocumentNumberingType : uint8_t { ntDoc1, ntDoc2 };
enum tTK_ConfiVarType : uint8_t { cft_string, cft_number, cft_date };

// One cached configuration variable.
class tTK_ConfiVar
{
public:
    const QString& Name() const { return fName; }
    void SetName(const QString& aValue) { fName = aValue; }
    const QString& ValueString() const { return fValueString; }
    void SetValueString(const QString& aValue) { fValueString = aValue; }
    Currency ValueNumber() const { return fValueNumber; }
    void SetValueNumber(Currency aValue) { fValueNumber = aValue; }
    TDateTime ValueDate() const { return fValueDate; }
    void SetValueDate(TDateTime aValue) { fValueDate = aValue; }
    tTK_ConfiVarType ValueType() const { return fValueType; }
    void SetValueType(tTK_ConfiVarType aValue) { fValueType = aValue; }

private:
    QString fName;
    QString fValueString;
    Currency fValueNumber;
    TDateTime fValueDate;
    tTK_ConfiVarType fValueType = cft_string;
};

class tTK_MercaltoProxy;

// Reads the rows of a mapped table by key, skipping rows marked deleted.
class tTK_MercaltoRecordGetter
{
public:
    explicit tTK_MercaltoRecordGetter(tTK_MercaltoProxy& aProxy) : fProxy(&aProxy) {}

    // The rows with the key values, ordered by all key fields.
    std::unique_ptr<tTK_MercaltoDataset> Get(tTK_MerTable aTable, const QVariantList& aKeyValues);
    bool Exists(tTK_MerTable aTable, const QVariantList& aKeyValues);
    // The description column of the row; empty when it is null or no row matches.
    QString Decode(tTK_MerTable aTable, const QVariantList& aKeyValues);

private:
    tTK_MercaltoProxy* fProxy;
};

// A program's access to its SQL Server database. Create it, then either Init, or set the four
// connection properties and Connect; then use it; every operation but Init, Connect, LoadSetup
// and NormalizeString needs the open connection.
class tTK_MercaltoProxy
{
public:
    tTK_MercaltoProxy();
    // Releases the program lock Init took, then disconnects.
    ~tTK_MercaltoProxy();
    tTK_MercaltoProxy(const tTK_MercaltoProxy&) = delete;
    tTK_MercaltoProxy& operator=(const tTK_MercaltoProxy&) = delete;

    // --- Connection and statements.
    // Opens the connection with the connection properties and reads the session's login time and
    // process id. A failure is kept in ConnectionError and logged as "Connect:<message>"; it never
    // raises. The connection string holds the password and is never logged.
    bool Connect();
    // Tries the connection and reopens it when it fails.
    bool CheckConnection();
    bool Disconnect();

    // Runs a query with a command time-out of an hour; errors raise with the server's message.
    std::unique_ptr<tTK_MercaltoDataset> CreateDataset(const QString& aSQL, const tTK_SQLParams& aParams = {});
    // As CreateDataset, the SQL text taken from the program resource ":/sql/<aResName>".
    // Raises "SQL Resource <aResName> not found".
    std::unique_ptr<tTK_MercaltoDataset> CreateDatasetFromRes(const QString& aResName,
                                                              const tTK_SQLParams& aParams = {});
    static void DestroyDataset(std::unique_ptr<tTK_MercaltoDataset>& aDataset);
    // Runs a command with a time-out of an hour; a null parameter goes with its declared type.
    bool ExecuteSQLCommand(const QString& aSQL, const tTK_SQLParams& aParams = {});
    bool ExecuteSQLCommandFromRes(const QString& aResName, const tTK_SQLParams& aParams = {});

    // A name starting with "#" is a temporary table of the session.
    void DropTable(const QString& aTableName);
    bool TableExists(const QString& aTableName);
    // The column names of the table in lower case, in column order.
    QStringList GetFieldNames(tTK_MerTable aTable);
    // aFieldList holds lines "column=value"; names that are not columns of the table are skipped.
    // Every value goes as a quoted string for the server to convert.
    bool InsertRecord(tTK_MerTable aTable, const QStringList& aFieldList);
    bool UpdateRecord(tTK_MerTable aTable, const QStringList& aFieldList, const QVariantList& aKeyValues);
    int LastRowCount();
    bool IsProgramRunning(const QString& aProgramName);
    // aString without blanks and the characters | \ ! ? $ % / ( ) = ^ , . ; : _ - ø + * @ # ".
    static QString NormalizeString(const QString& aString);

    // --- Keyed records, handed on to the record getter.
    std::unique_ptr<tTK_MercaltoDataset> Get(tTK_MerTable aTable, const QVariantList& aKeyValues);
    bool Exists(tTK_MerTable aTable, const QVariantList& aKeyValues);
    QString Decode(tTK_MerTable aTable, const QVariantList& aKeyValues);

    // --- Coded tables: each list of tabel00f decoded once per connection into the temporary
    // table "#<list code>", then read by its key fields.
    QString DecodeTabel(const QString& aTbTab);
    std::unique_ptr<tTK_MercaltoDataset> GetTabel(const QString& aTbTab, const QVariantList& aKeyValues);
    bool ExistsTabel(const QString& aTbTab, const QVariantList& aKeyValues);

    // --- Applicative locks: rows of aplck00f naming the holder's server connection.
    // True when the caller holds the lock afterwards; a lock held by another live connection is
    // told to the user.
    bool ApplicativeLock(tTK_LockType aType, const QString& aName, int aId);
    void ApplicativeUnlock(tTK_LockType aType, const QString& aName, int aId);

    // --- Start-up from mer.ini and the program's setup file.
    bool Init(bool aSingleInstance);
    void LoadSetup();
    QString GetSetupValue(const QString& aName) const;
    bool ExistsSetupValue(const QString& aName) const;

    // --- Configuration variables of the back-office database: the catalogue elcfg01f, else
    // elcfg00f, gives the type and width, dbo.fn_Cfg the value for User. Each name (in any letter
    // case) is read once and kept; aRefreshValue reads it again into the same entry, and an empty
    // value leaves the kept one. The value is text, Currency or TDateTime by the variable's type.
    // A name in neither catalogue raises "<name> not found in ELCFG01F nor in ELCFG00F." and stays
    // cached empty. cfg_smtppw is kept enciphered (CiphersText) and read deciphered; an empty
    // cfg_smtppt reads "25".
    QVariant GetConfiVar(const QString& aVarName, bool aRefreshValue);
    // The "name=value" pairs, separated by ";", of the variable Cfg_ParAddGPCsh, one a line.
    QStringList GetAdditionalParams();
    // The value of aParamName (letter case ignored) in those pairs; empty when absent.
    QString GetAdditionalParam(const QString& aParamName);
    // A text enciphered with the installation's fixed key, each byte written as three decimal
    // digits: 24 digits for 1 to 7 bytes in, 48 for 8 to 15; empty in, empty out.
    static QByteArray CiphersText(const QByteArray& aString);
    // Undoes CiphersText; digits after the last group of three are ignored. A group that is not a
    // byte value raises the conversion error, a byte count not a multiple of 8
    // "Ciphertext is not a multiple of 8 bytes.".
    static QByteArray DeCiphersText(const QByteArray& aString);

    // --- Properties.
    const QString& User() const { return fUser; }
    void SetUser(const QString& aValue) { fUser = aValue; }
    TDbConnection& Connection() { return *fConnection; }
    const QString& ConnectionError() const { return fConnectionError; }
    void SetConnectionError(const QString& aValue) { fConnectionError = aValue; }
    const QString& DataSource() const { return fDataSource; }
    void SetDataSource(const QString& aValue) { fDataSource = aValue; }
    const QString& DbName() const { return fDbName; }
    void SetDbName(const QString& aValue) { fDbName = aValue; }
    const QString& DBUserName() const { return fDBUserName; }
    void SetDBUserName(const QString& aValue) { fDBUserName = aValue; }
    const QString& DBUserPwd() const { return fDBUserPwd; }
    void SetDBUserPwd(const QString& aValue) { fDBUserPwd = aValue; }
    const QString& IniFileName() const { return fIniFileName; }
    void SetIniFileName(const QString& aValue) { fIniFileName = aValue; }
    bool Active() const { return fActive; }
    void SetActive(bool aValue) { fActive = aValue; }
    int SqlPID() const { return fSQLPid; }
    void SetSqlPID(int aValue) { fSQLPid = aValue; }
    TDateTime LoginDateTime() const { return fLoginDateTime; }
    void SetLoginDateTime(TDateTime aValue) { fLoginDateTime = aValue; }
    // The node code of the installation (defined with the numbering operations).
    QString Nodo();
    const QString& Environment() const { return fEnvironment; }
    bool TestEnvironment() const { return fTestEnvironment; }
    bool SingleInstance() const { return fSingleInstance; }
    void SetSingleInstance(bool aValue) { fSingleInstance = aValue; }
    const QString& VelmoraLocale() const { return fVelmoraLocale; }
    void SetVelmoraLocale(const QString& aValue) { fVelmoraLocale = aValue; }
    const QString& ApplicationName() const { return fApplicationName; }
    void SetApplicationName(const QString& aValue) { fApplicationName = aValue; }
    const QString& ForcedUser() const { return fForcedUser; }
    void SetForcedUser(const QString& aValue) { fForcedUser = aValue; }

private:
    // The connection string of the connection properties.
    QString BuildConnectionString() const;
    // Reads the login time and process id of the session.
    void ReadSession();
    // Raises the resource's absence; otherwise its SQL text.
    static QString SqlResource(const QString& aResName);
    // The key fields of a coded list, from the cache or from its description rows.
    QStringList TabelKeyFields(const QString& aTbTab);
    // ApplicativeLock with the number of attempts already made.
    bool TryLock(tTK_LockType aType, const QString& aName, int aId, int aAttempt);
    // The lines of aText, line breaks of any kind; no last empty line for a closing break.
    static QStringList TextLines(const QString& aText);
    // The value of the first "name=value" line whose name is aName, letter case ignored.
    static QString LineValue(const QStringList& aLines, const QString& aName);

    QString fUser;
    std::unique_ptr<TDbConnection> fConnection;
    QString fConnectionError;
    QString fDataSource;
    QString fDbName;
    QString fDBUserName;
    QString fDBUserPwd;
    QString fIniFileName;
    bool fActive = false;
    TDateTime fLoginDateTime;
    bool fSingleInstance = false;
    int fSQLPid = 0;
    QStringList fSetup;
    QString fNodo;
    QString fEnvironment;
    bool fTestEnvironment = false;
    std::map<QString, std::unique_ptr<tTK_ConfiVar>> fConfiVars;
    std::unique_ptr<tTK_MercaltoRecordGetter> fGetter;
    QStringList fTabelParameters;
    QString fVelmoraLocale;
    QString fApplicationName;
    QString fForcedUser;
};

// The program's proxy, stored here by the program right after creating it; empty at start and
// again once that proxy is destroyed.
extern tTK_MercaltoProxy* MercaltoProxy;
