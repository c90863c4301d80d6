#include "RegistryFixture.h"

#include "DbCommand.h"
#include "Exception.h"
#include "uSampleRegistry.h"

#include <QDir>
#include <QFile>

namespace {
QString Escaped(const QString& aText)
{
    return aText.toHtmlEscaped();
}
}

TRegistryFixture::TRegistryFixture() : fPreviousDir(QDir::currentPath())
{
    const QString db = fDir.filePath(QStringLiteral("registry.db"));
    QFile(db).open(QIODevice::WriteOnly);
    QFile ini(fDir.filePath(QStringLiteral("auditexport.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Registry]\r\nDataSource=sqlite\r\nDBName=registry.db\r\n");
    ini.close();
    QDir::setCurrent(fDir.path());

    fConnection = std::make_unique<TDbConnection>();
    fConnection->SetConnectionString(QStringLiteral("Data Source=sqlite;Initial Catalog=registry.db"));
    fConnection->Open();
    CreateRegistrySchema(*fConnection);
    Execute(QStringLiteral("insert into CompanyRecord values ('C1', '500000000', '500000000', 'Loja & Filhos, Lda', "
                           "'Loja', 'Rua Augusta 1', 'Lisboa', '1100-053', NULL, 'PT')"));
    Execute(QStringLiteral("insert into BranchRecord values ('B1', '001', 'Baixa', 'Rua Augusta 1', 'Lisboa', "
                           "'1100-053', NULL, 'PT', 'C1', 'FR', 'NC', 'FR %', 'NC %', 'PT')"));
}

TRegistryFixture::~TRegistryFixture()
{
    fConnection.reset();
    QDir::setCurrent(fPreviousDir);
}

void TRegistryFixture::Execute(const QString& aSql, const TDbParams& aParams)
{
    TDbCommand(*fConnection, aSql).Execute(aParams);
}

void TRegistryFixture::AddReceipt(const tStored& aReceipt)
{
    const QString time = aReceipt.DateTime.Format(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
    Execute(QStringLiteral("insert into Receipts (ReceiptDateTime, ReceiptNumber, Serie, Number, Status, "
                           "SystemEntryDateTime, LastReceiptStatusOperator, LastStatusDateTime, DocumentType, "
                           "SourceBilling, ManualDocumentNumber, FiscalId, Hash, Receipt) values (:time, :printed, "
                           "'A', :number, :status, :time, '', :time, :type, :source, :manual, :atcud, :hash, :xml)"),
            {{QStringLiteral("time"), time},
             {QStringLiteral("printed"), aReceipt.ReceiptNumber},
             {QStringLiteral("number"), aReceipt.Number},
             {QStringLiteral("status"), aReceipt.Status},
             {QStringLiteral("type"), aReceipt.DocumentType},
             {QStringLiteral("source"), aReceipt.SourceBilling},
             {QStringLiteral("manual"), aReceipt.ManualDocumentNumber},
             {QStringLiteral("atcud"), aReceipt.FiscalId},
             {QStringLiteral("hash"), aReceipt.Hash},
             {QStringLiteral("xml"), aReceipt.Xml}});
}

QString tReceiptDoc::Xml() const
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><Receipt><BusinessDate>%1</BusinessDate>"
                          "<Type>%2</Type><DateTime>%1</DateTime><InvoiceNumber>%3</InvoiceNumber>"
                          "<TotalAmount>%4</TotalAmount><OperatorCode>OP1</OperatorCode>"
                          "<CustomerBusinessName>%5</CustomerBusinessName><CustomerAddress>Rua 1</CustomerAddress>"
                          "<CustomerZIPCode>1000-001</CustomerZIPCode><CustomerCity>Lisboa</CustomerCity>"
                          "<CustomerCountry>PT</CustomerCountry><CustomerTaxCode>%6</CustomerTaxCode>%7"
                          "<Lines>%8</Lines><Taxes>%9</Taxes><Payments>%10</Payments></Receipt>")
        .arg(Date, Type, Escaped(InvoiceNumber), Total, Escaped(CustomerName), Escaped(CustomerTaxCode), Extra, Lines,
             Taxes)
        .arg(Payments);
}

QString SaleLine(const QString& aCode, const QString& aDescription, const QString& aQuantity, const QString& aAmount,
                 const QString& aTaxCode, const QString& aAttribute)
{
    return QStringLiteral("<productsale><Code>%1</Code><Description>%2</Description><Quantity>%3</Quantity>"
                          "<UOM>UN</UOM><TaxCode>%4</TaxCode><Price>%5</Price><Amount>%5</Amount>"
                          "<Attribute>%6</Attribute></productsale>")
        .arg(Escaped(aCode), Escaped(aDescription), aQuantity, aTaxCode, aAmount, aAttribute);
}

QString TaxLine(const QString& aCode, const QString& aDescription, const QString& aRate)
{
    return QStringLiteral("<Tax><Type>VAT</Type><Code>%1</Code><Description>%2</Description><Rate>%3</Rate></Tax>")
        .arg(aCode, Escaped(aDescription), aRate);
}

QString PaymentLine(const QString& aType, const QString& aAmount)
{
    return QStringLiteral("<Payment><Type>%1</Type><Amount>%2</Amount></Payment>").arg(aType, aAmount);
}
