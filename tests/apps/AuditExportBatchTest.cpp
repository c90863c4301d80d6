// The export from the command line, run as the real program, and the test mode's validator.
#include "Exception.h"
#include "RegistryFixture.h"
#include "TestSupport.h"
#include "uSAFTPT_Controller.h"
#include "uSAFTPT_Validator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
struct tRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program in the current directory (the registry's).
tRun RunAuditExport(const QStringList& aArguments)
{
    QProcess process;
    process.start(QStringLiteral(AUDITEXPORT_EXE), aArguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void StoreSales(TRegistryFixture& aRegistry)
{
    const char* names[] = {"CONSUMIDOR FINAL", "Ana & Filhos <Lda>", "Rui Costa"};
    const char* taxCodes[] = {"999999990", "PT502757191", "999999990"};
    for (int i = 0; i < 3; ++i) {
        tReceiptDoc doc;
        doc.InvoiceNumber = QStringLiteral("FR 2024A/%1").arg(i + 1);
        doc.Total = "13.29";
        doc.CustomerName = names[i];
        doc.CustomerTaxCode = taxCodes[i];
        doc.Lines = SaleLine("P1", "Pão", "2", "12.30", "2300") + SaleLine("", "Livro escolar", "1", "0.99", "M07");
        doc.Taxes = TaxLine("2300", "IVA 23", "23") + TaxLine("M07", "Isento artigo 9.º do CIVA", "0");
        doc.Payments = PaymentLine("cash", "10") + PaymentLine("debitcard", "3.29");
        TRegistryFixture::tStored stored;
        stored.Xml = doc.Xml();
        stored.ReceiptNumber = doc.InvoiceNumber;
        stored.Number = i + 1;
        stored.FiscalId = QStringLiteral("JJ37MMTR-%1").arg(i + 1);
        stored.Hash = QString(172, u'A');
        stored.DateTime = TDateTime::EncodeDateTime(2024, 2, 10 + i, 9, 0, 0, 0);
        aRegistry.AddReceipt(stored);
    }
}

// Validates the file against the official schema, when the schema and xmllint are at hand.
void ExpectValidAuditFile(const QString& aFileName)
{
    const QString schema = SharedDir() + "/saft/SAFTPT_1_04_01_xsd10.xsd";
    if (SharedDir().isEmpty() || QStandardPaths::findExecutable("xmllint").isEmpty()) {
        GTEST_LOG_(INFO) << "schema check skipped: no ../shared/saft or no xmllint";
        return;
    }
    QProcess lint;
    lint.start("xmllint", {"--noout", "--schema", schema, aFileName});
    lint.waitForFinished(60000);
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
}

void WriteScript(const QString& aFileName, const QByteArray& aText)
{
    QFile f(aFileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(aText);
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}
}

TEST(AuditExportBatch, WritesAValidFileAndSaysWhere)
{
    TRegistryFixture registry;
    StoreSales(registry);
    const tRun run = RunAuditExport({"/BATCH", "/STORE=001", "/YEAR=2024"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString fileName = registry.Path("SAFT-PT_001_20240101_20241231.xml");
    EXPECT_TRUE(run.out.trimmed().endsWith(QDir::toNativeSeparators(fileName))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Processing Sales Invoices"));
    const QByteArray bytes = ReadFileBytes(fileName);
    EXPECT_TRUE(bytes.contains("<CompanyName>Ana &amp; Filhos &lt;Lda&gt;</CompanyName>"));
    EXPECT_TRUE(bytes.contains("<CustomerID>FR2024A3</CustomerID>"));
    ExpectValidAuditFile(fileName);

    const tRun months = RunAuditExport({"/batch", "/STORE=001", "/YEAR=2024", "/FROMMONTH=2", "/TOMONTH=2",
                                        "/OUT=" + registry.Path("feb.xml")});
    EXPECT_EQ(months.exitCode, 0) << months.err.toStdString();
    EXPECT_TRUE(ReadFileBytes(registry.Path("feb.xml")).contains("<EndDate>2024-02-29</EndDate>"));
    const tRun range = RunAuditExport({"/BATCH", "/STORE=001", "/FROM=2024-02-11", "/TO=2024-02-11"});
    EXPECT_EQ(range.exitCode, 0);
    EXPECT_TRUE(ReadFileBytes(registry.Path("SAFT-PT_001_20240211_20240211.xml"))
                    .contains("<NumberOfEntries>1</NumberOfEntries>"));
}

TEST(AuditExportBatch, BadInputGivesAClearMessageAndNoFile)
{
    TRegistryFixture registry;
    StoreSales(registry);
    struct Case { QStringList args; int exitCode; const char* message; };
    const Case cases[] = {
        {{"/BATCH", "/YEAR=2024"}, 2, "You must select a store"},
        {{"/BATCH", "/STORE=001"}, 2, "Give the period either with /YEAR or with /FROM and /TO"},
        {{"/BATCH", "/STORE=001", "/YEAR=2024", "/FROM=2024-01-01"}, 2, "Give the period either"},
        {{"/BATCH", "/STORE=001", "/YEAR=20x4"}, 2, "Please enter a valid year"},
        {{"/BATCH", "/STORE=001", "/YEAR=2024", "/FROMMONTH=5", "/TOMONTH=3"}, 2,
         "\"From Date\" cannot be greater than \"To Date\""},
        {{"/BATCH", "/STORE=001", "/YEAR=2024", "/FROMMONTH=0", "/TOMONTH=3"}, 2, "Please enter a valid starting month"},
        {{"/BATCH", "/STORE=001", "/FROM=2024-02-30", "/TO=2024-03-01"}, 2, "/FROM needs a date written yyyy-mm-dd"},
        {{"/BATCH", "/STORE=999", "/YEAR=2024"}, 1, "Store \"999\" not found; the registry has: 001"},
        {{"/BATCH", "/STORE=001", "/YEAR=2024", "/OUT=" + registry.Path("no/such/dir/x.xml")}, 1,
         "Unable to write the file"},
    };
    for (const Case& c : cases) {
        const tRun run = RunAuditExport(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(registry.Path("")).entryList({"*.xml"}).isEmpty());

    registry.Execute("update Receipts set Status = 'C' where Number = 2");
    const tRun unmanaged = RunAuditExport({"/BATCH", "/STORE=001", "/YEAR=2024"});
    EXPECT_EQ(unmanaged.exitCode, 1);
    EXPECT_TRUE(unmanaged.err.contains("Status [C] not yet managed"));
    EXPECT_TRUE(QDir(registry.Path("")).entryList({"*.xml"}).isEmpty());

    QFile::remove(registry.Path("registry.db"));
    const tRun unreachable = RunAuditExport({"/BATCH", "/STORE=001", "/YEAR=2024"});
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_TRUE(unreachable.err.contains("Unable to Init Controller")) << unreachable.err.toStdString();
    EXPECT_FALSE(QFile::exists(registry.Path("registry.db")));   // never created empty

    const tRun help = RunAuditExport({"/?"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: auditexport /BATCH /STORE=<code>"));
}

TEST(AuditExportTestMode, TheValidatorsReportIsReadAndItsSilenceIsBounded)
{
    TRegistryFixture registry;
    StoreSales(registry);
    kSAFTPTController controller;
    auto branches = controller.LoadBranches();
    controller.Process(branches->Items(0), TDateTime::EncodeDate(2024, 1, 1), TDateTime::EncodeDate(2024, 12, 31));
    // The validator's files live two folders up from where the program runs.
    QDir().mkpath(registry.Path("bin/run"));
    QDir::setCurrent(registry.Path("bin/run"));

    WriteScript(registry.Path("validator.sh"),
                "#!/bin/sh\nwhile [ $# -gt 0 ]; do\n  case \"$1\" in --output) out=\"$2\";; --saft) saft=\"$2\";; esac\n"
                "  shift\ndone\ngrep -q '<AuditFile' \"$saft\" && echo \"Validation OK\" > \"$out\"\n");
    tkValidatorSettings settings{registry.Path("validator.sh"), 20};
    EXPECT_EQ(ValidateWithValidator(controller, settings).trimmed(), "Validation OK");
    EXPECT_TRUE(QFile::exists(registry.Path("Output/SAFT-PT_Test.xml")));

    WriteScript(registry.Path("silent.sh"), "#!/bin/sh\nexit 0\n");
    settings = {registry.Path("silent.sh"), 1};
    try {
        ValidateWithValidator(controller, settings);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains("wrote no report")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("within 1 seconds"));
    }
    settings = {registry.Path("missing-validator"), 1};
    try {
        ValidateWithValidator(controller, settings);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to start the validator \"" + registry.Path("missing-validator") + "\"");
    }
}

TEST(AuditExportTestMode, TheValidatorComesFromTheSettingsFile)
{
    TRegistryFixture registry;
    EXPECT_EQ(ReadValidatorSettings().Program, "Validador");
    EXPECT_EQ(ReadValidatorSettings().TimeoutSeconds, 120);
    QFile ini(registry.Path("auditexport.ini"));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("validator=/opt/check/validator\r\nValidatorTimeout=5\r\n");
    ini.close();
    EXPECT_EQ(ReadValidatorSettings().Program, "/opt/check/validator");
    EXPECT_EQ(ReadValidatorSettings().TimeoutSeconds, 5);
}
