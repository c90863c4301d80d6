// Times the export of generated registries: loading the receipts, building the document and saving
// the file, with the receipts per second and the process's peak memory.
//
//   export-benchmark [receipt counts...]      (default: 10000 100000)

#include "Environment.h"
#include "Exception.h"
#include "TApplication.h"
#include "uSAFTPT_Controller.h"
#include "uSampleRegistry.h"
#include "uTK_Base.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
struct tFigures
{
    int Receipts = 0;
    double Generate = 0, Load = 0, Build = 0, Save = 0;
    qint64 FileBytes = 0;
    qint64 PeakBytes = 0;
};

double Seconds(QElapsedTimer& aTimer)
{
    return double(aTimer.restart()) / 1000.0;
}

tFigures Measure(int aReceipts)
{
    tFigures figures;
    figures.Receipts = aReceipts;
    QTemporaryDir dir;
    tkSampleRegistryOptions options;
    options.FileName = dir.filePath(QStringLiteral("registry.db"));
    options.ReceiptCount = aReceipts;
    QElapsedTimer clock;
    clock.start();
    tkSampleRegistrySummary registry = MakeSampleRegistry(options);
    figures.Generate = Seconds(clock);

    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        kSAFTPTController controller;
        std::unique_ptr<kBranchList> branches = controller.LoadBranches();
        // The first progress of the writing phase marks the end of the loading.
        bool loaded = false;
        controller.SetOnProgress([&](tkProgressPhase aPhase, int, const QString&) {
            if (aPhase == pp_Processing && !loaded && controller.SalesInvoices().Count() > 0) {
                figures.Load = Seconds(clock);
                loaded = true;
            }
        });
        clock.restart();
        controller.Process(branches->Items(0), options.FirstDay, options.LastDay);
        figures.Build = Seconds(clock);
        const QString file = dir.filePath(QStringLiteral("audit.xml"));
        controller.SaveToFile(file);
        figures.Save = Seconds(clock);
        figures.FileBytes = QFileInfo(file).size();
    }
    QDir::setCurrent(previous);
    figures.PeakBytes = Environment::PeakMemoryBytes();
    return figures;
}
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    tTK_Application framework;
    QTextStream out(stdout);
    QList<int> counts;
    for (const QString& a : app.arguments().mid(1))
        counts << a.toInt();
    if (counts.isEmpty())
        counts = {10000, 100000};

    out << "receipts  generate[s]  load[s]  build[s]  save[s]  export[s]  receipts/s  file[MB]  peak[MB]\n";
    double firstExport = 0;
    int firstCount = 0;
    try {
        for (int n : counts) {
            const tFigures f = Measure(n);
            const double exportSeconds = f.Load + f.Build + f.Save;
            out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9\n")
                       .arg(f.Receipts, 8)
                       .arg(f.Generate, 11, 'f', 2)
                       .arg(f.Load, 7, 'f', 2)
                       .arg(f.Build, 8, 'f', 2)
                       .arg(f.Save, 7, 'f', 2)
                       .arg(exportSeconds, 9, 'f', 2)
                       .arg(f.Receipts / exportSeconds, 10, 'f', 0)
                       .arg(double(f.FileBytes) / 1e6, 8, 'f', 1)
                       .arg(double(f.PeakBytes) / 1e6, 8, 'f', 0);
            out.flush();
            if (firstCount == 0) {
                firstCount = n;
                firstExport = exportSeconds;
            } else {
                out << QStringLiteral("  %1 receipts took %2 times as long as %3\n")
                           .arg(n)
                           .arg(exportSeconds / firstExport, 0, 'f', 1)
                           .arg(firstCount);
            }
        }
    } catch (const Exception& e) {
        QTextStream(stderr) << "export-benchmark: " << e.Message() << Qt::endl;
        return 1;
    }
    return 0;
}
