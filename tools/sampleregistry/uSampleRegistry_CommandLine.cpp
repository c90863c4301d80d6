// The command line of make-sample-registry and what it prints.
#include "uSampleRegistry.h"

#include "Exception.h"

#include <QDir>

namespace {

QString DateText(TDateTime aValue)
{
    return aValue.Format(QStringLiteral("yyyy-MM-dd"));
}

TDateTime ParseDay(const QString& aOption, const QString& aValue)
{
    const QDate date = QDate::fromString(aValue, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() || date.year() < 2000)
        throw Exception(QStringLiteral("%1 wants a day from 2000 on as yyyy-mm-dd, not \"%2\"").arg(aOption, aValue));
    return TDateTime::FromQDate(date);
}

}

QString SampleRegistryUsage()
{
    const tkSampleRegistryOptions defaults;
    return QStringLiteral(
               "Usage: make-sample-registry [options]\n"
               "\n"
               "Creates an embedded registry database holding a Portuguese shop's companies, stores, document\n"
               "series and receipts, and an auditexport.ini beside it that points the audit export at it.\n"
               "The same options always give the same database.\n"
               "\n"
               "Options:\n"
               "  -o, --output <file>  database file to create (default %1)\n"
               "  -n, --count <n>      number of receipts (default %2)\n"
               "  -s, --seed <n>       seed of the random choices, 0 to 18446744073709551615 (default %3)\n"
               "      --from <day>     first day of the receipts, yyyy-mm-dd (default %4)\n"
               "      --to <day>       last day of the receipts, yyyy-mm-dd (default %5)\n"
               "      --overwrite      replace an existing database and auditexport.ini\n"
               "      --no-ini         write no auditexport.ini\n"
               "  -h, --help           show this text\n"
               "\n"
               "Then, in the database's folder: auditexport /BATCH /STORE=001 /YEAR=2024\n")
        .arg(defaults.FileName)
        .arg(defaults.ReceiptCount)
        .arg(defaults.Seed)
        .arg(DateText(defaults.FirstDay), DateText(defaults.LastDay));
}

tkSampleRegistryCommand ParseSampleRegistryCommandLine(const QStringList& aArguments)
{
    tkSampleRegistryCommand command;
    tkSampleRegistryOptions& options = command.Options;
    for (qsizetype i = 0; i < aArguments.size(); ++i) {
        QString option = aArguments[i];
        std::optional<QString> inlineValue;
        if (const qsizetype eq = option.indexOf(u'='); option.startsWith(QLatin1String("--")) && eq > 0) {
            inlineValue = option.mid(eq + 1);
            option.truncate(eq);
        }
        auto value = [&]() -> QString {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= aArguments.size())
                throw Exception(QStringLiteral("%1 wants a value").arg(option));
            return aArguments[++i];
        };
        auto flag = [&]() {
            if (inlineValue)
                throw Exception(QStringLiteral("%1 takes no value").arg(option));
            return true;
        };
        if (option == u"-h" || option == u"--help") {
            command.Help = flag();
        } else if (option == u"-o" || option == u"--output") {
            options.FileName = value();
        } else if (option == u"-n" || option == u"--count") {
            const QString text = value();
            bool ok = false;
            options.ReceiptCount = text.toInt(&ok);
            if (!ok || options.ReceiptCount < 1)
                throw Exception(QStringLiteral("%1 wants a whole number of at least 1, not \"%2\"").arg(option, text));
        } else if (option == u"-s" || option == u"--seed") {
            const QString text = value();
            bool ok = false;
            options.Seed = text.toULongLong(&ok);
            if (!ok || text.startsWith(u'+'))
                throw Exception(QStringLiteral("%1 wants a whole number from 0 up, not \"%2\"").arg(option, text));
        } else if (option == u"--from") {
            options.FirstDay = ParseDay(option, value());
        } else if (option == u"--to") {
            options.LastDay = ParseDay(option, value());
        } else if (option == u"--overwrite") {
            options.Overwrite = flag();
        } else if (option == u"--no-ini") {
            options.WriteIniFile = !flag();
        } else {
            throw Exception(QStringLiteral("Unknown argument \"%1\"").arg(option));
        }
    }
    return command;
}

QString SampleRegistryReport(const tkSampleRegistrySummary& aSummary)
{
    const QString time = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    QString report = QStringLiteral("Created %1\n").arg(QDir::toNativeSeparators(aSummary.FileName));
    report += QStringLiteral("  %1 companies, stores %2, %3 document series\n")
                  .arg(aSummary.Companies)
                  .arg(aSummary.StoreCodes.join(QStringLiteral(", ")))
                  .arg(aSummary.Series);
    report += QStringLiteral("  %1 receipts from %2 to %3: %4 credit notes, %5 cancelled, %6 written by hand, "
                             "%7 keyed in again\n")
                  .arg(aSummary.Receipts)
                  .arg(aSummary.FirstReceipt.Format(time), aSummary.LastReceipt.Format(time))
                  .arg(aSummary.CreditNotes)
                  .arg(aSummary.Cancelled)
                  .arg(aSummary.HandWritten)
                  .arg(aSummary.Recovered);
    if (!aSummary.IniFileName.isEmpty())
        report += QStringLiteral("  %1 points the audit export at it: run the export in that folder\n")
                      .arg(QDir::toNativeSeparators(aSummary.IniFileName));
    return report;
}
