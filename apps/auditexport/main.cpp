#include "TApplication.h"
#include "uSAFTPT01.h"
#include "uSAFTPT_Batch.h"
#include "uTK_Base.h"

#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    // A scheduled export runs where no display may be.
    if (RunsWithoutWindow(argc, argv) && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    tTK_Application framework;
    QTextStream out(stdout), err(stderr);
    if (HelpRequested(argc, argv)) {
        out << BatchUsage();
        return be_Done;
    }
    if (framework.IsBatch())
        return RunBatchExport(out, err);

    TForm1 form;
    if (!form.Started())
        return be_Failed;
    form.show();
    return app.exec();
}
