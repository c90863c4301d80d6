#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// The widget application. Exceptions that escape an event handler do not unwind through the event
// loop: they are handed to the exception handler, which the framework's application object installs.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    using ExceptionHandler = std::function<void(const std::exception&)>;

    TApplication(int& argc, char** argv);

    bool notify(QObject* aReceiver, QEvent* aEvent) override;

    // Replaces the handler; an empty handler lets the event pass silently.
    static void SetExceptionHandler(ExceptionHandler aHandler);
    // Hands an exception to the installed handler (used where an error is caught outside notify).
    static void HandleException(const std::exception& aError);

private:
    static ExceptionHandler& Handler();
};
