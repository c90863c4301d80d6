#include "TApplication.h"

#include "Exception.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication::ExceptionHandler& TApplication::Handler()
{
    static ExceptionHandler handler;
    return handler;
}

void TApplication::SetExceptionHandler(ExceptionHandler aHandler)
{
    Handler() = std::move(aHandler);
}

void TApplication::HandleException(const std::exception& aError)
{
    if (dynamic_cast<const EAbort*>(&aError))
        return;
    if (Handler())
        Handler()(aError);
}

bool TApplication::notify(QObject* aReceiver, QEvent* aEvent)
{
    try {
        return QApplication::notify(aReceiver, aEvent);
    } catch (const std::exception& e) {
        HandleException(e);
    }
    return false;
}
