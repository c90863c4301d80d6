#pragma once

// The one object that makes a SAF-T (PT) audit file: it connects to the registry, loads the receipts
// of one store and period into the SAF-T data model, builds the XML document and writes it out.

#include "uSAFTPT_DataModel.h"

#include <QString>
#include <functional>
#include <memory>
#include <pugixml.hpp>

class tTK_MercaltoProxy;

enum tkProgressPhase : uint8_t { pp_Loading, pp_Processing };
// Called synchronously with a percentage from 0 to 100 and a message.
using tkOnProgress = std::function<void(tkProgressPhase aPhase, int aPercent, const QString& aMessage)>;

class kSAFTPTController
{
public:
    static inline const QString IniFileName = QStringLiteral("auditexport.ini");

    // Connects to the registry: with auditexport.ini in the current directory when there is one,
    // otherwise through the back-office configuration. Raises "Unable to Init Controller".
    kSAFTPTController();
    ~kSAFTPTController();

    // Why the last connection attempt failed, as the database driver put it; empty when it did not.
    static QString ConnectionError();

    const tkOnProgress& OnProgress() const { return fOnProgress; }
    void SetOnProgress(tkOnProgress aHandler) { fOnProgress = std::move(aHandler); }

    // --- Loading from the registry.
    std::unique_ptr<kBranchList> LoadBranches();
    std::unique_ptr<kCompany> GetCompanyById(const QString& aCompanyId);
    // Fills the model with every stored document of the current period.
    bool LoadData();
    // Converts one stored document into an invoice (with its customer, products and tax entries).
    bool LoadReceipt(const QString& aXML, const QString& aHash, const QString& aSerie, int aInvoiceNumber,
                     const QString& aStatus, TDateTime aSystemEntryDateTime,
                     const QString& aLastReceiptStatusOperator, TDateTime aLastStatusDateTime,
                     const QString& aDocumentType, const QString& aSourceBilling,
                     const QString& aManualDocumentNumber, const QString& aFiscalId);
    // The printed number and date of the stored document with that number and time; false when none.
    // A number that is not a plain integer raises an error and is never sent to the database.
    bool GetInvoice(const QString& aDeviceSerial, const QString& aNumber, TDateTime aDateTime,
                    QString& aInvoiceNumber, TDateTime& aInvoiceDate);

    // --- Building the document.
    // Loads the period of the branch (which the caller keeps alive) and builds the whole document.
    bool Process(kBranch* aBranch, TDateTime aFromDate, TDateTime aToDate);
    bool ProcessHeader(pugi::xml_node aNode);
    bool ProcessCustomers(pugi::xml_node aMasterNode);
    bool ProcessProducts(pugi::xml_node aMasterNode);
    bool ProcessTaxTable(pugi::xml_node aMasterNode);
    bool ProcessSalesInvoices(pugi::xml_node aSourceNode);

    // --- Output.
    // The document as indented text (CR LF, two spaces a level) declared as windows-1252, with every
    // character the code page lacks turned into "?".
    QString Output() const;
    // Writes the output, empty elements spelled as start and end tag, in windows-1252. The file is
    // written beside the target and renamed into place: a failed save leaves any earlier file intact.
    bool SaveToFile(const QString& aFileName) const;

    // --- Formatting of values in the document.
    // Fixed notation with "." and exactly aDecimals decimals, halves away from zero.
    static QString FormatAmount(int aDecimals, Currency aValue);
    static QString FormatSaftDate(TDateTime aValue);       // yyyy-mm-dd
    static QString FormatSaftDateTime(TDateTime aValue);   // yyyy-mm-ddThh:nn:ss
    static QString FormatFlag(bool aValue);                // "1" or "0"
    // Standard CRC-32 of the text taken one code unit a byte (units above 127 as "?"), 8 hex digits.
    static QString TextCrc32Hex(const QString& aText);

    // The model of the last export, and its document.
    const kCustomerList& Customers() const { return *fCustomers; }
    const kProductList& Products() const { return *fProducts; }
    const kTaxTable& TaxTable() const { return *fTaxTable; }
    const kInvoiceList& SalesInvoices() const { return *fSalesInvoices; }
    const pugi::xml_document* Xml() const { return fXml.get(); }

private:
    bool InitConnection();
    bool ReadIniSettings();
    kTaxTableEntry* GetTaxTableEntry(const QString& aCode, Currency aRate, const QString& aDescription);
    // The tax country or region of the branch being exported (empty before the first export).
    QString CurrentTaxCountryRegion() const;
    void Progress(tkProgressPhase aPhase, int aPercent, const QString& aMessage) const;

    tkOnProgress fOnProgress;
    std::unique_ptr<tTK_MercaltoProxy> fProxy;   // also the program's global MercaltoProxy
    std::unique_ptr<pugi::xml_document> fXml;
    kBranch* fCurrentBranch = nullptr;
    TDateTime fCurrentPeriodStart;
    TDateTime fCurrentPeriodEnd;
    std::unique_ptr<kCustomerList> fCustomers;
    std::unique_ptr<kTaxTable> fTaxTable;
    std::unique_ptr<kProductList> fProducts;
    std::unique_ptr<kInvoiceList> fSalesInvoices;
};

// Reports a loop's progress: item i of n gives round(i / n * 100) (halves to even), and only a
// percentage that differs from the last one reported is passed on.
class tkProgressCounter
{
public:
    tkProgressCounter(int aCount, std::function<void(int aPercent)> aReport);
    void Next();

private:
    int fCount;
    int fDone = 0;
    int fLastPercent = 0;
    std::function<void(int)> fReport;
};
