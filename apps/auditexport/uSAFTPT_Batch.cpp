#include "uSAFTPT_Batch.h"

#include "Exception.h"
#include "uSAFTPT_Controller.h"
#include "uSAFTPT_OutputText.h"
#include "uSAFTPT_Period.h"
#include "uTK_Base.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {
bool AnyArgument(int argc, char** argv, bool (*aMatch)(const QString&))
{
    for (int i = 1; i < argc; ++i)
        if (aMatch(QString::fromLocal8Bit(argv[i])))
            return true;
    return false;
}

bool IsHelp(const QString& aArg)
{
    return aArg == u"/?" || aArg == u"--help" || aArg == u"-h";
}

bool IsBatch(const QString& aArg)
{
    const QString a = aArg.toUpper();
    return a == u"/BATCH" || a.startsWith(QLatin1String("/BATCH:")) || a.startsWith(QLatin1String("/BATCH="));
}

// An error of the command line: shown with the usage, exit code 2.
struct tkUsageError
{
    QString fMessage;
};

QDate ParseDate(const QString& aSwitch)
{
    const QString text = GetSwitchValue(aSwitch);
    QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw tkUsageError{QStringLiteral("%1 needs a date written yyyy-mm-dd, not \"%2\"").arg(aSwitch, text)};
    return date;
}

tkPeriodInput PeriodOfCommandLine()
{
    const bool byYear = !FindSwitch(QStringLiteral("/YEAR"), true).isEmpty();
    const bool byDates = !FindSwitch(QStringLiteral("/FROM"), true).isEmpty()
                         || !FindSwitch(QStringLiteral("/TO"), true).isEmpty();
    const bool byMonths = !FindSwitch(QStringLiteral("/FROMMONTH"), true).isEmpty()
                          || !FindSwitch(QStringLiteral("/TOMONTH"), true).isEmpty();
    if (byYear == byDates)
        throw tkUsageError{QStringLiteral("Give the period either with /YEAR or with /FROM and /TO")};
    tkPeriodInput input;
    if (byDates) {
        input.Page = tkPeriodPage::CustomRange;
        input.FromDate = ParseDate(QStringLiteral("/FROM"));
        input.ToDate = ParseDate(QStringLiteral("/TO"));
    } else {
        input.Page = byMonths ? tkPeriodPage::ByMonth : tkPeriodPage::ByYear;
        input.Year = GetSwitchValue(QStringLiteral("/YEAR"));
        input.FromMonth = GetSwitchValue(QStringLiteral("/FROMMONTH"));
        input.ToMonth = GetSwitchValue(QStringLiteral("/TOMONTH"));
    }
    return input;
}

std::unique_ptr<kBranch> FindStore(kSAFTPTController& aController, const QString& aCode)
{
    std::unique_ptr<kBranchList> branches = aController.LoadBranches();
    QStringList codes;
    for (auto& branch : branches->Release()) {
        if (branch->Code() == aCode)
            return std::move(branch);
        codes << branch->Code();
    }
    throw Exception(QStringLiteral("Store \"%1\" not found; the registry has: %2")
                        .arg(aCode, codes.isEmpty() ? QStringLiteral("no stores") : codes.join(QStringLiteral(", "))));
}

void Report(QTextStream& aErr, const QString& aMessage)
{
    aErr << "auditexport: " << aMessage << Qt::endl;
    if (tTK_Application* app = TKApplication())
        app->Log(let_error, aMessage);
}
}

bool HelpRequested(int argc, char** argv)
{
    return AnyArgument(argc, argv, IsHelp);
}

bool RunsWithoutWindow(int argc, char** argv)
{
    return HelpRequested(argc, argv) || AnyArgument(argc, argv, IsBatch);
}

QString BatchUsage()
{
    return QStringLiteral(
        "Usage: auditexport /BATCH /STORE=<code> /YEAR=<yyyy> [/FROMMONTH=<m> /TOMONTH=<m>] [/OUT=<file>]\n"
        "       auditexport /BATCH /STORE=<code> /FROM=<yyyy-mm-dd> /TO=<yyyy-mm-dd> [/OUT=<file>]\n"
        "\n"
        "Writes the SAF-T (PT) audit file of one store for a year, a range of months of a year, or a\n"
        "range of dates, reading the registry named by auditexport.ini in the current directory.\n"
        "Without /OUT the file is SAFT-PT_<store>_<start>_<end>.xml in the current directory.\n"
        "Without /BATCH the program opens its window.\n"
        "\n"
        "Exit codes: 0 written, 1 the export failed, 2 the command line is wrong.\n");
}

int RunBatchExport(QTextStream& aOut, QTextStream& aErr)
{
    try {
        const QString store = GetSwitchValue(QStringLiteral("/STORE"));
        if (store.isEmpty())
            throw tkUsageError{tkPeriodMessages::NoStore};
        TDateTime start, end;
        const QString problem = ResolvePeriod(PeriodOfCommandLine(), start, end);
        if (!problem.isEmpty())
            throw tkUsageError{problem};

        std::unique_ptr<kSAFTPTController> controller;
        try {
            controller = std::make_unique<kSAFTPTController>();
        } catch (const Exception& e) {
            const QString cause = kSAFTPTController::ConnectionError();
            throw Exception(cause.isEmpty() ? e.Message() : e.Message() + u'\n' + cause);
        }
        std::unique_ptr<kBranch> branch = FindStore(*controller, store);
        QString lastMessage;
        int lastTenth = -1;
        controller->SetOnProgress([&](tkProgressPhase, int aPercent, const QString& aMessage) {
            if (aMessage != lastMessage || aPercent / 10 != lastTenth) {
                aOut << QStringLiteral("[%1%] ").arg(aPercent, 3) << aMessage << Qt::endl;
                lastMessage = aMessage;
                lastTenth = aPercent / 10;
            }
        });
        if (!controller->Process(branch.get(), start, end))
            throw Exception(QStringLiteral("Error during SAFT-PT Generation"));
        QString fileName = GetSwitchValue(QStringLiteral("/OUT"));
        if (fileName.isEmpty())
            fileName = ProposedFileName(branch->Code(), start, end);
        SaveOutputText(fileName, controller->Output());
        aOut << QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) << Qt::endl;
        return be_Done;
    } catch (const tkUsageError& e) {
        Report(aErr, e.fMessage);
        aErr << '\n' << BatchUsage();
        return be_BadCommandLine;
    } catch (const Exception& e) {
        Report(aErr, e.Message());
        return be_Failed;
    } catch (const std::exception& e) {
        Report(aErr, QString::fromLocal8Bit(e.what()));
        return be_Failed;
    }
}
