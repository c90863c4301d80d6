#pragma once

// Inside the sample registry: the seeded random numbers, the fixed master data, the plan of one
// document and the documents themselves.

#include "Currency.h"
#include "TDateTime.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <vector>

class kReceipt;

// splitmix64: a generator of our own, so that a seed gives the same registry whatever the compiler
// and its library.
class tkSampleRandom
{
public:
    explicit tkSampleRandom(uint64_t aSeed) : fState(aSeed) {}
    uint64_t Next();
    int64_t Below(int64_t aBound);   // 0 .. aBound - 1; aBound > 0
    bool Chance(int aPerMille);      // true aPerMille times in a thousand
    // An index of aWeights, each chosen with its weight.
    int Weighted(const std::vector<int>& aWeights);
    QString Letters(const QString& aAlphabet, int aLength);
    QString Guid();   // braced, upper case, 38 characters
    QString Hash();   // a signature's form: 128 bytes in base64, 172 characters

private:
    uint64_t fState;
};

// --- Master data.

struct tkSampleAddress
{
    QString AddressDetail;
    QString City;
    QString PostalCode;
    QString Region;
};

struct tkSampleCompany
{
    QString Id;
    QString Code;
    QString VATId;
    QString Name;
    QString BusinessName;
    tkSampleAddress Address;
};

struct tkSampleBranch
{
    QString Id;
    QString Code;
    QString Name;
    tkSampleAddress Address;
    int Company;            // index into Companies()
    QString SeriesSuffix;   // series names are the year and this suffix: 2024A
    int Tills;
    QStringList Operators;
    QString Supervisor;   // who cancels documents
    int Weight;           // share of the documents
};

enum tkSampleTaxId : uint8_t { tx_Normal, tx_Intermediate, tx_Reduced, tx_Exempt };

struct tkSampleTax
{
    QString Code;
    QString Description;
    Currency Rate;
};

enum tkSampleArticleId : uint8_t {
    ar_Cheese,   // weighted, no code
    ar_Detergent,
    ar_GiftWrap,   // service, mostly free
    ar_Wine,
    ar_Milk,       // one code, two descriptions
    ar_Bread,      // no code
    ar_Workshop,   // exempt service
    ar_GreenTea,   // a name outside windows-1252
    ar_Yoghurt,    // "<" in its name
    ar_Delivery,   // service
    ar_Coffee,
    ar_OliveOil,
    ar_Rice,
    ar_Codfish,           // weighted
    ar_Apples,            // weighted, no code
    ar_PastryAndCoffee,   // "&" in its name
    ar_Water,
    ar_Beer,
    ar_Shampoo,
    ar_Batteries,
    ar_Bag,    // sometimes free
    ar_Meal,   // service
    ar_Sardines,
    ar_Tomatoes,   // weighted, no code
    ar_Count
};

struct tkSampleArticle
{
    QString Code;
    QString Description;
    QString AlternateDescription;   // the same article as another till names it; empty when none
    Currency Price;                 // per unit, or per kilogram when weighted
    tkSampleTaxId Tax;
    bool Weighted;
    bool Service;
    int FreePerMille;   // how often it is given free of charge
    QString Department;
};

enum tkSampleCustomerKind : uint8_t { ck_Consumer, ck_TaxNumber, ck_PrefixedTaxNumber, ck_NoTaxNumber };

struct tkSampleCustomer
{
    tkSampleCustomerKind Kind;
    QString Code;
    QString TaxCode;   // as the till writes it: plain, with a PT prefix, or the consumer's number
    QString Name;
    QString Address;
    QString ZipCode;
    QString City;
    QString Country;
};

class kSampleCatalogue
{
public:
    kSampleCatalogue() = delete;

    static const std::vector<tkSampleCompany>& Companies();
    static const std::vector<tkSampleBranch>& Branches();
    static const tkSampleTax& Tax(tkSampleTaxId aTax);
    static const tkSampleArticle& Article(int aArticle);
    static const std::vector<tkSampleCustomer>& Customers();
    // The n-th customer (from 0) of a kind.
    static int CustomerOf(tkSampleCustomerKind aKind, int aNth = 0);
    // A Portuguese tax number: the eight digits and their modulo-11 check digit.
    static QString TaxNumber(const QString& aEightDigits);
};

// --- The plan of one document: every choice made before the receipt is built.

enum tkSampleAdjust : uint8_t {
    adj_None,
    adj_DiscountAmount,
    adj_DiscountPercentage,
    adj_MarkupAmount,
    adj_MarkupPercentage
};

enum tkSamplePayment : uint8_t {
    pay_Cash,
    pay_CashWithChange,
    pay_Cheque,
    pay_CreditCard,
    pay_DebitCard,
    pay_AccountCredit,   // part on the customer's account, the rest in cash
    pay_CreditOnProducts,
    pay_CreditOnServices,
    pay_GiftCard,
    pay_Voucher,
    pay_MealVoucher,
    pay_NHSCard
};

struct tkSampleItem
{
    int Article;
    Currency Quantity;
    bool Free = false;
    bool Alternate = false;             // sold under the article's other description
    tkSampleAdjust Adjust = adj_None;   // a discount or markup on this line
    bool TextAfter = false;
};

struct tkSamplePlan
{
    bool Refund = false;
    bool Cancelled = false;
    QChar Source = u'P';   // P, M (written by hand) or D (keyed in again)
    int Branch = 0;
    int Till = 0;
    int Operator = 0;
    int Customer = 0;
    std::vector<tkSampleItem> Items;   // sales only
    bool Subtotal = false;
    tkSampleAdjust SubtotalAdjust = adj_None;
    int CentOff = 0;   // -1 or +1: the total a cent off the lines, taken up by the last line
    tkSamplePayment Payment = pay_Cash;
};

class kSamplePlanner
{
public:
    kSamplePlanner() = delete;
    // The plan of the aIndex-th document: one of the showcase while they last, then chosen at random.
    static tkSamplePlan Plan(tkSampleRandom& aRandom, int aIndex);
};

// --- The documents.

// One row of Receipts.
struct tkSampleDocument
{
    TDateTime ReceiptDateTime;
    QString ReceiptNumber;   // as printed: FR 2024A/123
    QString Serie;
    int Number = 0;   // in its series
    QString Status;
    TDateTime SystemEntryDateTime;
    QString LastReceiptStatusOperator;
    TDateTime LastStatusDateTime;
    QString DocumentType;
    QString SourceBilling;
    QString ManualDocumentNumber;
    QString FiscalId;
    QString Hash;
    QString Receipt;
};

// One row of Series.
struct tkSampleSeries
{
    QString Id;
    QString Code;   // type and name: FR2024A
    QString Name;   // as printed: 2024A
    QString ValidationCode;
    int LastNumber = 0;
    bool Closed = false;
    TDateTime LastDate;
    QString LastHash;
    QString LastBranchCode;
    QString LastTillCode;
};

// Issues the documents one after the other: numbers them in the series of their store, type and
// year, and remembers recent sales for the credit notes that refer to them.
class kSampleDocuments
{
public:
    kSampleDocuments(tkSampleRandom& aRandom, int aFirstYear, int aLastYear);

    tkSampleDocument Issue(const tkSamplePlan& aPlan, TDateTime aWhen);
    const std::vector<tkSampleSeries>& Series() const { return fSeries; }

private:
    struct tkRefundable
    {
        int Article;
        QString Description;
        Currency Quantity;
        Currency Amount;   // what the customer paid for the line
    };
    struct tkOriginal
    {
        int Number = 0;
        TDateTime When;
        QString InvoiceNumber;
        QString DeviceSerial;
        int Branch = 0;
        int Customer = 0;
        std::vector<tkRefundable> Lines;
    };
    tkSampleSeries& SeriesOf(int aBranch, const QString& aDocumentType, int aYear);
    // Lines of aOriginal given back, each for what was paid for it, and the reference to it.
    void AddRefund(kReceipt& aReceipt, const tkOriginal& aOriginal);
    // Keeps a normal sale for the credit notes to come.
    void Remember(const kReceipt& aReceipt, const tkSamplePlan& aPlan, int aBranch);
    QString ManualNumber(QChar aSource, const QString& aDocumentType, int aYear);

    tkSampleRandom& fRandom;
    int fFirstYear;
    std::vector<tkSampleSeries> fSeries;   // by store, type and year
    QHash<QString, int> fManualNumbers;
    std::deque<tkOriginal> fOriginals;   // recent normal sales, oldest first
};
