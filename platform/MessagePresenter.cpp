#include "MessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

namespace {
class TMessageBoxPresenter : public TMessagePresenter
{
public:
    void Show(Kind aKind, const QString& aText) override
    {
        QMessageBox box(aKind == Kind::Error ? QMessageBox::Critical : QMessageBox::Information,
                        QApplication::applicationName(), aText, QMessageBox::Ok);
        box.exec();
    }
};

std::unique_ptr<TMessagePresenter>& Installed()
{
    static std::unique_ptr<TMessagePresenter> presenter;
    return presenter;
}
}

TMessagePresenter& TMessagePresenter::Current()
{
    static TMessageBoxPresenter boxes;
    return Installed() ? *Installed() : static_cast<TMessagePresenter&>(boxes);
}

std::unique_ptr<TMessagePresenter> TMessagePresenter::Install(std::unique_ptr<TMessagePresenter> aPresenter)
{
    std::swap(Installed(), aPresenter);
    return aPresenter;
}
