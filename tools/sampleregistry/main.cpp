// make-sample-registry: a registry database for trying and testing the audit export.
#include "Exception.h"
#include "uSampleRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    tkSampleRegistryCommand command;
    try {
        command = ParseSampleRegistryCommandLine(app.arguments().mid(1));
    } catch (const Exception& e) {
        err << e.Message() << "\nmake-sample-registry --help tells the options.\n";
        return 2;
    }
    if (command.Help) {
        out << SampleRegistryUsage();
        return 0;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        const tkSampleRegistrySummary summary = MakeSampleRegistry(command.Options);
        out << SampleRegistryReport(summary)
            << QStringLiteral("  made in %1 s\n").arg(double(timer.elapsed()) / 1000, 0, 'f', 1);
    } catch (const Exception& e) {
        err << e.Message() << '\n';
        return 1;
    }
    return 0;
}
