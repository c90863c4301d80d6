// The export of a generated shop's registry: the file must pass the official schema and the rules the
// schema states only in words.
#include "TestSupport.h"
#include "uSAFTPT_Controller.h"
#include "uSampleRegistry.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {
// The lines that break one of the rules on exemption reasons, codes and tax bases.
std::vector<std::string> LinesAgainstTheRules(const pugi::xml_document& aFile)
{
    const char* const rules[] = {
        "//Line[number(Tax/TaxPercentage) = 0 and not(TaxExemptionReason)]",
        "//Line[number(Tax/TaxPercentage) != 0 and TaxExemptionReason]",
        "//Line[Tax/TaxAmount and number(Tax/TaxAmount) = 0 and not(TaxExemptionReason)]",
        "//Line[Tax/TaxAmount and number(Tax/TaxAmount) != 0 and TaxExemptionReason]",
        "//Line[TaxExemptionReason and not(TaxExemptionCode)]",
        "//Line[TaxExemptionCode and not(TaxExemptionReason)]",
        "//Line[TaxBase and number(UnitPrice) != 0]",
        "//Line[TaxBase and (number(DebitAmount) != 0 or number(CreditAmount) != 0)]",
        "//Line[count(DebitAmount) + count(CreditAmount) != 1]",
    };
    std::vector<std::string> broken;
    for (const char* rule : rules)
        for (const pugi::xpath_node& line : aFile.select_nodes(rule))
            broken.push_back(std::string(rule) + " at line " + line.node().child_value("LineNumber") + " of "
                             + line.node().parent().child_value("InvoiceNo"));
    return broken;
}
}

TEST(SampleExport, AShopsYearPassesTheOfficialSchema)
{
    QTemporaryDir dir;
    tkSampleRegistryOptions options;
    options.FileName = dir.filePath("registry.db");
    options.ReceiptCount = 1500;
    const tkSampleRegistrySummary registry = MakeSampleRegistry(options);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString fileName = dir.filePath("audit.xml");
    {
        kSAFTPTController controller;
        auto branches = controller.LoadBranches();
        ASSERT_GE(branches->Count(), 2);
        controller.Process(branches->Items(0), options.FirstDay, options.LastDay);
        EXPECT_EQ(controller.SalesInvoices().Count(), registry.Receipts);
        controller.SaveToFile(fileName);
    }
    QDir::setCurrent(previous);

    pugi::xml_document file;
    ASSERT_TRUE(file.load_file(fileName.toLocal8Bit().constData(), pugi::parse_default, pugi::encoding_latin1));
    EXPECT_EQ(LinesAgainstTheRules(file), std::vector<std::string>{});
    EXPECT_GT(file.select_nodes("//Line[TaxExemptionReason]").size(), 0u);
    EXPECT_GT(file.select_nodes("//Invoice[InvoiceType='NC']/Line/References").size(), 0u);
    EXPECT_GT(file.select_nodes("//Invoice[DocumentStatus/InvoiceStatus='A']").size(), 0u);
    EXPECT_GT(file.select_nodes("//Invoice[DocumentStatus/SourceBilling='M']").size(), 0u);

    if (SharedDir().isEmpty() || QStandardPaths::findExecutable("xmllint").isEmpty()) {
        GTEST_SKIP() << "schema check skipped: no ../shared/saft or no xmllint";
    }
    QProcess lint;
    lint.start("xmllint", {"--noout", "--schema", SharedDir() + "/saft/SAFTPT_1_04_01_xsd10.xsd", fileName});
    lint.waitForFinished(120000);
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().left(4000).toStdString();
}
