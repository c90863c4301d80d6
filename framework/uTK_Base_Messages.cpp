// The one way to tell the user something.
#include "uTK_Base.h"

#include "MessagePresenter.h"
#include "uTK_Base_VCL.h"

void ShowUserMessageDirect(tTK_MessageType aKind, const QString& aText)
{
    try {
        tTK_Application* app = TKApplication();
        if (app && app->IsBatch()) {
            app->Log(let_error, aText);
            return;
        }
        TMessagePresenter::Current().Show(
            aKind == let_error ? TMessagePresenter::Kind::Error : TMessagePresenter::Kind::Information, aText);
    } catch (...) {
        // Reporting must never fail the caller.
    }
}

void ShowUserMessage(tTK_MessageType aKind, const QString& aText)
{
    tTK_Application* app = TKApplication();
    tTK_Wait* wait = app ? &app->Wait() : nullptr;
    bool waiting = wait && wait->Started();
    if (waiting)
        wait->Stop();
    ShowUserMessageDirect(aKind, aText);
    if (waiting)
        wait->Start();
}
