// The export window, offscreen.
#include "Exception.h"
#include "RegistryFixture.h"
#include "TestSupport.h"
#include "uSAFTPT01.h"
#include "uSAFTPT_Period.h"

#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {
tReceiptDoc Sale()
{
    tReceiptDoc doc;
    doc.Total = "1.23";
    doc.Lines = SaleLine("P1", "Pão", "1", "1.23", "2300");
    doc.Taxes = TaxLine("2300", "IVA", "23");
    doc.Payments = PaymentLine("cash", "1.23");
    return doc;
}

std::vector<QString> ErrorsShown(const TRecordingPresenter& aShown)
{
    std::vector<QString> texts;
    for (const auto& [kind, text] : aShown.Messages())
        if (kind == TMessagePresenter::Kind::Error)
            texts.push_back(text);
    return texts;
}
}

TEST(Period, PagesGiveTheirPeriodOrTheFirstProblem)
{
    struct Case { tkPeriodPage page; const char* year; const char* from; const char* to; const char* result; };
    const Case cases[] = {
        {tkPeriodPage::ByYear, "2023", "", "", "20230101-20231231"},
        {tkPeriodPage::ByYear, "", "", "", "Please enter a valid year"},
        {tkPeriodPage::ByMonth, "2024", "2", "2", "20240201-20240229"},
        {tkPeriodPage::ByMonth, "2023", "2", "2", "20230201-20230228"},
        {tkPeriodPage::ByMonth, "x", "1", "2", "Please enter a valid year"},
        {tkPeriodPage::ByMonth, "2024", "", "2", "Please enter a valid starting month"},
        {tkPeriodPage::ByMonth, "2024", "1", "13", "Please enter a valid ending month"},
        {tkPeriodPage::ByMonth, "2024", "5", "3", "\"From Date\" cannot be greater than \"To Date\""},
    };
    for (const Case& c : cases) {
        tkPeriodInput input;
        input.Page = c.page;
        input.Year = c.year;
        input.FromMonth = c.from;
        input.ToMonth = c.to;
        TDateTime start, end;
        QString problem = ResolvePeriod(input, start, end);
        QString result = problem.isEmpty() ? start.Format("yyyyMMdd") + "-" + end.Format("yyyyMMdd") : problem;
        EXPECT_EQ(result, c.result) << c.year << " " << c.from << " " << c.to;
    }
    EXPECT_EQ(ProposedFileName("001", TDateTime::EncodeDate(2022, 1, 1), TDateTime::EncodeDate(2022, 3, 31)),
              "SAFT-PT_001_20220101_20220331.xml");
}

TEST(ExportWindow, OneStoreIsSelectedAndFixed)
{
    TRegistryFixture registry;
    TForm1 form;
    ASSERT_TRUE(form.Started());
    EXPECT_EQ(form.cbStore->count(), 1);
    EXPECT_EQ(form.cbStore->currentText(), "001 - Baixa");
    EXPECT_FALSE(form.cbStore->isEnabled());
    EXPECT_TRUE(form.btProcess->isEnabled());
    EXPECT_TRUE(form.btProcess->isDefault());
    EXPECT_EQ(form.pcPeriod->currentWidget(), form.tsCustomRange);
    const int year = QDate::currentDate().year();
    ASSERT_EQ(form.cbYear1->count(), 12);
    EXPECT_EQ(form.cbYear1->itemText(0), QString::number(year - 11));
    EXPECT_EQ(form.cbYear2->itemText(11), QString::number(year));
    EXPECT_EQ(form.cbYear1->currentIndex(), -1);
    EXPECT_EQ(form.edFromDate->date(), QDate::currentDate());
}

TEST(ExportWindow, NoStoreDisablesProcessAndSeveralAreLeftToChoose)
{
    TRegistryFixture registry;
    registry.Execute("delete from BranchRecord");
    {
        TForm1 form;
        EXPECT_FALSE(form.btProcess->isEnabled());
    }
    registry.Execute("insert into BranchRecord (Id, Branch_Code, Branch_Name) values ('b', '002', 'Porto'), "
                     "('a', '001', 'Baixa')");
    TForm1 form;
    ASSERT_EQ(form.cbStore->count(), 2);
    EXPECT_EQ(form.cbStore->itemText(0), "001 - Baixa");
    EXPECT_TRUE(form.cbStore->isEnabled());
    TRecordingPresenter shown;
    EXPECT_FALSE(form.ValidateParameters());
    EXPECT_EQ(ErrorsShown(shown), std::vector<QString>{"You must select a store"});
}

TEST(ExportWindow, ValidationChoosesThePeriodOfTheActivePage)
{
    TRegistryFixture registry;
    TForm1 form;
    TRecordingPresenter shown;
    form.pcPeriod->setCurrentWidget(form.tsByMonth);
    form.cbYear2->setCurrentText(QString::number(QDate::currentDate().year()));
    form.cbFromMonth->setCurrentIndex(4);
    form.cbToMonth->setCurrentIndex(2);
    EXPECT_FALSE(form.ValidateParameters());
    form.cbToMonth->setCurrentIndex(11);
    EXPECT_TRUE(form.ValidateParameters());
    EXPECT_EQ(form.StartDate().Date(), QDate(QDate::currentDate().year(), 5, 1));
    EXPECT_EQ(form.EndDate().Date(), QDate(QDate::currentDate().year(), 12, 31));
    form.pcPeriod->setCurrentWidget(form.tsByYear);
    EXPECT_FALSE(form.ValidateParameters());
    form.pcPeriod->setCurrentWidget(form.tsCustomRange);
    form.edFromDate->setDate(QDate(2024, 3, 2));
    form.edToDate->setDate(QDate(2024, 3, 1));
    EXPECT_FALSE(form.ValidateParameters());
    EXPECT_EQ(ErrorsShown(shown), (std::vector<QString>{"\"From Date\" cannot be greater than \"To Date\"",
                                                        "Please enter a valid year",
                                                        "\"From Date\" cannot be greater than \"To Date\""}));
}

TEST(ExportWindow, ProcessShowsTheDocumentAndSavesItWhereTheUserSays)
{
    TRegistryFixture registry;
    TRegistryFixture::tStored stored;
    stored.Xml = Sale().Xml();
    stored.ReceiptNumber = "FR 2024A/1";
    stored.DateTime = TDateTime::EncodeDateTime(2024, 3, 15, 10, 0, 0, 0);
    registry.AddReceipt(stored);
    TForm1 form;
    QString proposed;
    form.AskSaveFileName = [&](const QString& aProposed) {
        proposed = aProposed;
        return registry.Path("chosen.xml");
    };
    form.pcPeriod->setCurrentWidget(form.tsByMonth);
    form.cbYear2->addItem("2024");   // the sample is older than the year list may reach
    form.cbYear2->setCurrentText("2024");
    form.cbFromMonth->setCurrentText("3");
    form.cbToMonth->setCurrentText("3");
    form.btProcessClick();
    EXPECT_EQ(proposed, "SAFT-PT_001_20240301_20240331.xml");
    const QString shown = form.meLog->toPlainText();
    EXPECT_TRUE(shown.startsWith("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"));
    EXPECT_TRUE(shown.contains("<InvoiceNo>FR 2024A/1</InvoiceNo>"));
    const QByteArray saved = ReadFileBytes(registry.Path("chosen.xml"));
    EXPECT_TRUE(saved.contains("\r\n        <ATCUD>ABCD1234-1</ATCUD>\r\n"));
    EXPECT_TRUE(saved.contains("<ProductDescription>P\xE3o</ProductDescription>"));
    EXPECT_TRUE(saved.endsWith("</AuditFile>\r\n"));
    EXPECT_EQ(form.lvProgress->item(0)->text(), "Process is Starting...");
    EXPECT_EQ(form.lvProgress->item(form.lvProgress->count() - 1)->text(), "Process Complete");
    for (int i = 1; i < form.lvProgress->count(); ++i)
        EXPECT_NE(form.lvProgress->item(i)->text(), form.lvProgress->item(i - 1)->text());

    // Declining the dialog writes nothing.
    form.AskSaveFileName = [](const QString&) { return QString(); };
    QFile::remove(registry.Path("chosen.xml"));
    form.btProcessClick();
    EXPECT_FALSE(QFile::exists(registry.Path("chosen.xml")));
}

TEST(ExportWindow, AProgressMessageRepeatedIsListedOnce)
{
    TRegistryFixture registry;
    TForm1 form;
    form.UpdateProgress(pp_Loading, 10, "Loading Receipts");
    form.UpdateProgress(pp_Loading, 20, "Loading Receipts");
    form.UpdateProgress(pp_Processing, 30, "");
    EXPECT_EQ(form.lvProgress->count(), 1);
}

TEST(ExportWindow, AFailedConnectionSaysWhyAndTheWindowDoesNotStart)
{
    TRegistryFixture registry;
    QFile ini(registry.Path("auditexport.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("DataSource=sqlite\r\nDBName=missing.db\r\n");
    ini.close();
    TRecordingPresenter shown;
    TForm1 form;
    EXPECT_FALSE(form.Started());
    ASSERT_EQ(ErrorsShown(shown).size(), 1u);
    const QString message = ErrorsShown(shown)[0];
    EXPECT_TRUE(message.startsWith("Unable to Init Controller\r\n")) << message.toStdString();
    EXPECT_TRUE(message.contains("missing.db")) << message.toStdString();
}
