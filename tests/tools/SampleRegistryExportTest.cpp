// The sample registry through the export: every path of the conversion is taken, and the audit file
// passes the official schema and the rules the schema's 1.0 form leaves out.
#include "SampleRegistryTestSupport.h"

#include "uSAFTPT_Controller.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The current directory for as long as it lives: the export reads auditexport.ini from there.
class TCurrentDirScope
{
public:
    explicit TCurrentDirScope(const QString& aDir) : fPrevious(QDir::currentPath()) { QDir::setCurrent(aDir); }
    ~TCurrentDirScope() { QDir::setCurrent(fPrevious); }

private:
    QString fPrevious;
};

QString Text(pugi::xml_node aNode, const char* aPath)
{
    return QString::fromUtf8(aNode.first_element_by_path(aPath).text().get());
}

TEST(SampleRegistryExport, EveryPathIsTakenAndTheFileIsValid)
{
    QTemporaryDir dir;
    tkSampleRegistryOptions options;
    options.FileName = dir.filePath(QStringLiteral("registry.db"));
    options.ReceiptCount = 400;
    MakeSampleRegistry(options);
    TCurrentDirScope scope(dir.path());

    kSAFTPTController controller;
    auto branches = controller.LoadBranches();
    ASSERT_EQ(branches->Count(), 3);
    // The store of the company without a region.
    ASSERT_TRUE(controller.Process(branches->Items(2), options.FirstDay, options.LastDay));
    const QString fileName = dir.filePath(QStringLiteral("audit.xml"));
    ASSERT_TRUE(controller.SaveToFile(fileName));

    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(fileName.toLocal8Bit().constData()));
    const pugi::xml_node audit = document.child("AuditFile");
    EXPECT_TRUE(audit.first_element_by_path("Header/CompanyAddress/Region").empty());
    EXPECT_EQ(Text(audit, "SourceDocuments/SalesInvoices/NumberOfEntries"), QStringLiteral("400"));

    QSet<QString> seen;
    for (pugi::xml_node invoice : audit.child("SourceDocuments").child("SalesInvoices").children("Invoice")) {
        seen << QStringLiteral("status ") + Text(invoice, "DocumentStatus/InvoiceStatus")
             << QStringLiteral("type ") + Text(invoice, "InvoiceType")
             << QStringLiteral("hash control ") + Text(invoice, "HashControl").left(6);
        for (pugi::xml_node payment : invoice.child("DocumentTotals").children("Payment"))
            seen << QStringLiteral("payment ") + Text(payment, "PaymentMechanism");
        for (pugi::xml_node line : invoice.children("Line")) {
            const bool exempt = Text(line, "Tax/TaxPercentage") == u"0.00";
            // The rules of the schema that its 1.0 form cannot state.
            EXPECT_EQ(!line.child("TaxExemptionReason").empty(), exempt) << Text(invoice, "InvoiceNo").toStdString();
            EXPECT_EQ(!line.child("TaxExemptionCode").empty(), exempt);
            seen << QStringLiteral("tax ") + Text(line, "Tax/TaxCode");
            if (!line.child("References").empty())
                seen << QStringLiteral("reference");
            if (!line.child("SettlementAmount").empty())
                seen << QStringLiteral("settlement");
        }
    }
    // Every line carries exactly one of the two amounts, a fixed tax amount has its exemption reason only
    // when it is 0, and no line puts a tax base beside a price or an amount.
    EXPECT_EQ(document.select_nodes("//Line[count(DebitAmount) + count(CreditAmount) != 1]").size(), 0u);
    EXPECT_EQ(document.select_nodes("//Line[Tax/TaxAmount and (number(Tax/TaxAmount) = 0) != boolean(TaxExemptionReason)]")
                  .size(),
              0u);
    EXPECT_EQ(document.select_nodes("//Line[TaxBase and (number(UnitPrice) != 0 or number(DebitAmount) != 0 or "
                                    "number(CreditAmount) != 0)]")
                  .size(),
              0u);
    for (const char* kind :
         {"status N", "status A", "type FR", "type NC", "hash control 1", "hash control 1-FRM ", "hash control 1-FRD ",
          "payment NU", "payment CC", "payment CH", "payment DE", "payment TR", "tax NOR", "tax INT", "tax RED",
          "tax ISE", "reference", "settlement"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(kind))) << kind;

    const QString schema = SharedDir() + QStringLiteral("/saft/SAFTPT_1_04_01_xsd10.xsd");
    if (SharedDir().isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty()) {
        GTEST_LOG_(INFO) << "schema check skipped: no ../shared/saft or no xmllint";
        return;
    }
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"), schema, fileName});
    ASSERT_TRUE(lint.waitForFinished(60000));
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
}

}
