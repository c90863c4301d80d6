#include "TApplication.h"
#include "uTK_Base.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    tTK_Application framework;
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Manual Document Registration ") + framework.Info().VersionString());
    window.resize(640, 480);
    window.show();
    return app.exec();
}
