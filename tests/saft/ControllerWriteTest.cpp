// The document built from the model, its text and its file.
#include "ExportFixture.h"
#include "Exception.h"
#include "TestSupport.h"
#include "uSAFTPT_XmlText.h"

#include <QFile>
#include <QRegularExpression>

namespace {
// Lines joined for a readable comparison.
std::string Joined(const QStringList& aLines)
{
    return aLines.join(u'\n').toStdString();
}

// The lines of the text from the first one that starts (after its indentation) with aFrom, up to and
// including the first later one that starts with aTo.
QStringList Excerpt(const QString& aText, const QString& aFrom, const QString& aTo)
{
    const QStringList lines = aText.split(QStringLiteral("\r\n"));
    QStringList out;
    for (const QString& line : lines) {
        if (out.isEmpty() && !line.trimmed().startsWith(aFrom))
            continue;
        out << line;
        if (out.size() > 1 && line.trimmed().startsWith(aTo))
            break;
    }
    return out;
}
}

TEST(Format, AmountsDatesAndFlags)
{
    struct Case { int decimals; const char* value; const char* text; };
    const Case cases[] = {{2, "1234.5", "1234.50"}, {2, "0.005", "0.01"},   {2, "-0.005", "-0.01"},
                          {4, "-0.1234", "-0.1234"}, {2, "0", "0.00"},      {4, "12", "12.0000"},
                          {2, "-0.004", "0.00"},    {2, "2.345", "2.35"},   {2, "123456789.995", "123456790.00"}};
    for (const Case& c : cases)
        EXPECT_EQ(kSAFTPTController::FormatAmount(c.decimals, Currency::Parse(QString::fromLatin1(c.value))), c.text)
            << c.value;
    const TDateTime t = TDateTime::EncodeDateTime(2022, 1, 31, 7, 5, 9, 999);
    EXPECT_EQ(kSAFTPTController::FormatSaftDate(t), "2022-01-31");
    EXPECT_EQ(kSAFTPTController::FormatSaftDateTime(t), "2022-01-31T07:05:09");
    EXPECT_EQ(kSAFTPTController::FormatFlag(true), "1");
    EXPECT_EQ(kSAFTPTController::FormatFlag(false), "0");
}

TEST(XmlText, EmptyElementsExpandLineByLine)
{
    EXPECT_EQ(ExpandEmptyElements("  <ATCUD/>\r\n  <A>x</A>\r\n<B/>"), "  <ATCUD></ATCUD>\r\n  <A>x</A>\r\n<B></B>");
    EXPECT_EQ(ExpandEmptyElements("no tags\n"), "no tags\n");
}

TEST(Progress, ReportsEachNewPercentageOnce)
{
    std::vector<int> reported;
    tkProgressCounter three(3, [&](int p) { reported.push_back(p); });
    for (int i = 0; i < 3; ++i)
        three.Next();
    EXPECT_EQ(reported, (std::vector<int>{33, 67, 100}));
    reported.clear();
    tkProgressCounter many(1000, [&](int p) { reported.push_back(p); });
    for (int i = 0; i < 1000; ++i)
        many.Next();
    EXPECT_EQ(reported.size(), 100u);   // nothing until 1 %, then each percentage once
    EXPECT_EQ(reported.front(), 1);
}

TEST_F(ExportTest, HeaderAndMasterFiles)
{
    Store(SimpleSale("1"));
    std::vector<QString> progress;
    fController->SetOnProgress([&](tkProgressPhase, int aPercent, const QString& aMessage) {
        progress.push_back(QStringLiteral("%1 %2").arg(aMessage).arg(aPercent));
    });
    Export(TDateTime::EncodeDate(2021, 12, 1), TDateTime::EncodeDate(2024, 3, 31));
    EXPECT_EQ(progress.front(), "Process is Starting... 0");
    EXPECT_EQ(progress[1], "Selected date range is 01/12/2021 to 31/03/2024 0");
    EXPECT_EQ(progress.back(), "Process Complete 100");

    const QString text = fController->Output();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<AuditFile "
                                "xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.04_01\" "
                                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n  <Header>\r\n"));
    EXPECT_EQ(Joined(Excerpt(text, "<CompanyName>", "<StartDate>")),
              Joined(QStringList{"    <CompanyName>Loja &amp; Filhos, Lda</CompanyName>",
                           "    <BusinessName>Loja</BusinessName>",
                           "    <CompanyAddress>",
                           "      <AddressDetail>Rua Augusta 1</AddressDetail>",
                           "      <City>Lisboa</City>",
                           "      <PostalCode>1100-053</PostalCode>",
                           "      <Country>PT</Country>",
                           "    </CompanyAddress>",
                           "    <FiscalYear>2024</FiscalYear>",
                           "    <StartDate>2021-12-01</StartDate>"}));
    EXPECT_EQ(Joined(Excerpt(text, "<TaxTable>", "</TaxTable>")),
              Joined(QStringList{"    <TaxTable>",
                           "      <TaxTableEntry>",
                           "        <TaxType>IVA</TaxType>",
                           "        <TaxCountryRegion>PT</TaxCountryRegion>",
                           "        <TaxCode>NOR</TaxCode>",
                           "        <Description>Taxa Normal</Description>",
                           "        <TaxPercentage>23.00</TaxPercentage>",
                           "      </TaxTableEntry>",
                           "    </TaxTable>"}));
    EXPECT_TRUE(text.endsWith("</AuditFile>"));
}

TEST_F(ExportTest, CustomersWithoutNameOrCityGetTheUnknownDefault)
{
    tReceiptDoc doc = SimpleSale("1");
    doc.CustomerTaxCode = "123456789";
    doc.CustomerName = "";
    Store(doc);
    fRegistry.Execute("update Receipts set Receipt = replace(Receipt, '<CustomerCity>Lisboa</CustomerCity>', '')");
    Export();
    EXPECT_EQ(Joined(Excerpt(fController->Output(), "<CustomerID>123456789", "<SelfBillingIndicator>")),
              Joined(QStringList{"      <CustomerID>123456789</CustomerID>",
                           "      <AccountID>Desconhecido</AccountID>",
                           "      <CustomerTaxID>123456789</CustomerTaxID>",
                           "      <CompanyName>Desconhecido</CompanyName>",
                           "      <BillingAddress>",
                           "        <AddressDetail>Rua 1</AddressDetail>",
                           "        <City>Desconhecido</City>",
                           "        <PostalCode>1000-001</PostalCode>",
                           "        <Country>PT</Country>",
                           "      </BillingAddress>",
                           "      <SelfBillingIndicator>0</SelfBillingIndicator>"}));
}

TEST_F(ExportTest, SalesInvoicesWithTheirLinesTotalsAndPayments)
{
    tReceiptDoc sale = SimpleSale("12.30");
    sale.Payments = PaymentLine("cash", "10.00") + PaymentLine("creditcard", "2.30") + PaymentLine("credit", "5");
    Store(sale);
    tReceiptDoc free = SimpleSale("2");
    free.InvoiceNumber = "FR 2024A/2";
    free.Lines += "<markupamount><Amount>0.5</Amount><Description>Taxa</Description></markupamount>"
                  "<productsale><Code>G</Code><Description>Brinde</Description><Quantity>1</Quantity>"
                  "<TaxCode>2300</TaxCode><Price>3</Price><Amount>3</Amount><FreeOfCharge>True</FreeOfCharge>"
                  "</productsale>";
    free.Total = "2.5";
    Store(free);
    tReceiptDoc cancelled = SimpleSale("99");
    cancelled.InvoiceNumber = "FR 2024A/3";
    Store(cancelled, TDateTime::EncodeDateTime(2024, 3, 15, 11, 0, 0, 0), "A");
    tReceiptDoc refund = SimpleSale("0");
    refund.Type = "Refund";
    refund.InvoiceNumber = "NC 2024A/1";
    Store(refund, TDateTime::EncodeDateTime(2024, 3, 15, 12, 0, 0, 0), "N", "NC");
    Export();
    const QString text = fController->Output();
    EXPECT_EQ(Joined(Excerpt(text, "<NumberOfEntries>", "<TotalCredit>")),
              Joined(QStringList{"      <NumberOfEntries>4</NumberOfEntries>", "      <TotalDebit>0.00</TotalDebit>",
                           "      <TotalCredit>12.03</TotalCredit>"}));   // 10.00 + 2.0325: the cancelled 99 is left out
    EXPECT_EQ(Joined(Excerpt(text, "<InvoiceNo>FR 2024A/1", "<CustomerID>")),
              Joined(QStringList{"        <InvoiceNo>FR 2024A/1</InvoiceNo>",
                           "        <ATCUD>ABCD1234-1</ATCUD>",
                           "        <DocumentStatus>",
                           "          <InvoiceStatus>N</InvoiceStatus>",
                           "          <InvoiceStatusDate>2024-03-15T10:00:00</InvoiceStatusDate>",
                           "          <SourceID>Generic</SourceID>",
                           "          <SourceBilling>P</SourceBilling>",
                           "        </DocumentStatus>",
                           "        <Hash>hash</Hash>",
                           "        <HashControl>1</HashControl>",
                           "        <InvoiceDate>2024-03-15</InvoiceDate>",
                           "        <InvoiceType>FR</InvoiceType>",
                           "        <SpecialRegimes>",
                           "          <SelfBillingIndicator>0</SelfBillingIndicator>",
                           "          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>",
                           "          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>",
                           "        </SpecialRegimes>",
                           "        <SourceID>OP1</SourceID>",
                           "        <SystemEntryDate>2024-03-15T10:00:00</SystemEntryDate>",
                           "        <CustomerID>999999990</CustomerID>"}));
    EXPECT_EQ(Joined(Excerpt(text, "<Line>", "</DocumentTotals>")),
              Joined(QStringList{"        <Line>",
                           "          <LineNumber>1</LineNumber>",
                           "          <ProductCode>P1_" + kSAFTPTController::TextCrc32Hex("P?o") + "</ProductCode>",
                           QString::fromUtf8("          <ProductDescription>Pão</ProductDescription>"),
                           "          <Quantity>1.00</Quantity>",
                           "          <UnitOfMeasure>Unidades</UnitOfMeasure>",
                           "          <UnitPrice>10.0000</UnitPrice>",
                           "          <TaxPointDate>2024-03-15</TaxPointDate>",
                           QString::fromUtf8("          <Description>Pão</Description>"),
                           "          <CreditAmount>10.0000</CreditAmount>",
                           "          <Tax>",
                           "            <TaxType>IVA</TaxType>",
                           "            <TaxCountryRegion>PT</TaxCountryRegion>",
                           "            <TaxCode>NOR</TaxCode>",
                           "            <TaxPercentage>23.00</TaxPercentage>",
                           "          </Tax>",
                           "        </Line>",
                           "        <DocumentTotals>",
                           "          <TaxPayable>2.3000</TaxPayable>",
                           "          <NetTotal>10.0000</NetTotal>",
                           "          <GrossTotal>12.30</GrossTotal>",
                           "          <Payment>",
                           "            <PaymentMechanism>NU</PaymentMechanism>",
                           "            <PaymentAmount>10.00</PaymentAmount>",
                           "            <PaymentDate>2024-03-15</PaymentDate>",
                           "          </Payment>",
                           "          <Payment>",
                           "            <PaymentMechanism>CC</PaymentMechanism>",
                           "            <PaymentAmount>2.30</PaymentAmount>",
                           "            <PaymentDate>2024-03-15</PaymentDate>",
                           "          </Payment>",
                           "        </DocumentTotals>"}));
    // The free line shows its zero as a credit; the marked-up line writes no negative settlement.
    const QStringList freeLine = Excerpt(text, "<LineNumber>2</LineNumber>", "</Line>");
    EXPECT_TRUE(freeLine.contains("          <CreditAmount>0.0000</CreditAmount>")) << freeLine.join('\n').toStdString();
    EXPECT_FALSE(freeLine.join(' ').contains("DebitAmount"));
    EXPECT_FALSE(text.contains("<SettlementAmount>-"));
    // A credit note worth nothing shows its zero as a debit, and no payments.
    const QStringList creditNote = Excerpt(text, "<InvoiceNo>NC 2024A/1", "</Invoice>");
    EXPECT_TRUE(creditNote.contains("          <DebitAmount>0.0000</DebitAmount>"));
    EXPECT_FALSE(creditNote.join(' ').contains("<Payment>"));
}

TEST_F(ExportTest, OutputMarksWhatTheCodePageLacksAndTheFileSpellsEmptyElementsOut)
{
    tReceiptDoc doc = SimpleSale("1");
    doc.CustomerTaxCode = "123456789";
    doc.CustomerName = QString::fromUtf8("Σοφία & <Filhos>");
    Store(doc);
    fRegistry.Execute("update Receipts set FiscalId = ''");
    Export();
    const QString text = fController->Output();
    EXPECT_TRUE(text.contains("      <CompanyName>????? &amp; &lt;Filhos&gt;</CompanyName>\r\n"));
    EXPECT_TRUE(text.contains("\r\n        <ATCUD/>\r\n"));

    const QString fileName = fRegistry.Path("out.xml");
    ASSERT_TRUE(fController->SaveToFile(fileName));
    const QByteArray bytes = ReadFileBytes(fileName);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<AuditFile"));
    EXPECT_TRUE(bytes.endsWith("</AuditFile>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n        <ATCUD></ATCUD>\r\n"));
    EXPECT_FALSE(bytes.contains("/>"));
    EXPECT_FALSE(QRegularExpression("[^\r]\n").match(QString::fromLatin1(bytes)).hasMatch());
    EXPECT_TRUE(bytes.contains("<ProductDescription>P\xE3o</ProductDescription>"));   // windows-1252
}

TEST_F(ExportTest, AFailedSaveLeavesTheEarlierFileIntact)
{
    Store(SimpleSale("1"));
    Export();
    const QString fileName = fRegistry.Path("kept.xml");
    {
        QFile f(fileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier audit file");
    }
    // A name whose folder does not exist cannot be written; nor can a folder.
    EXPECT_THROW(fController->SaveToFile(fRegistry.Path("missing/out.xml")), Exception);
    EXPECT_THROW(fController->SaveToFile(fRegistry.Path("")), Exception);
    EXPECT_EQ(ReadFileBytes(fileName), "earlier audit file");
    fController->SaveToFile(fileName);
    EXPECT_TRUE(ReadFileBytes(fileName).startsWith("<?xml"));
}

TEST_F(ExportTest, ACompanyMissingStopsTheHeader)
{
    fRegistry.Execute("update BranchRecord set Branch_Company = 'nobody'");
    fBranches = fController->LoadBranches();
    try {
        Export();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Company not found");
    }
}
