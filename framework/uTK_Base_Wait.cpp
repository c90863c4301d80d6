#include "uTK_Base.h"
#include "uTK_Base_VCL.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace {
constexpr int kClientHeight = 50;
const QColor kBackground(12, 25, 117);
}

tTK_Wait::tTK_Wait()
    : fForm(std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool))
{
    fForm->resize(100, kClientHeight);
    fForm->setAutoFillBackground(true);
    QPalette palette = fForm->palette();
    palette.setColor(QPalette::Window, kBackground);
    fForm->setPalette(palette);
    fLabel = new QLabel(fForm.get());   // owned by the form
    fLabel->setAlignment(Qt::AlignCenter);
    SetText({});
}

tTK_Wait::~tTK_Wait() = default;

void tTK_Wait::SetText(const QString& aValue)
{
    tTK_Application* app = TKApplication();
    QString text = (app && app->Language().toLower() == u"en") ? Text_EN : Text_IT;
    if (!aValue.isEmpty())
        text += u'\n' + aValue;
    fLabel->setText(text);
    QFont font = fLabel->font();
    font.setPointSize(10);
    font.setBold(true);
    fLabel->setFont(font);
    QPalette palette = fLabel->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    fLabel->setPalette(palette);
    fLabel->adjustSize();
    fForm->resize(int(fLabel->width() * 1.3), kClientHeight);
    fLabel->move((fForm->width() - fLabel->width()) / 2, (kClientHeight - fLabel->height()) / 2);
}

void tTK_Wait::Start(const QString& aText)
{
    SetText(aText);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        fForm->move(screen->geometry().center() - fForm->rect().center());
    fForm->show();
    fStarted = true;
    QCoreApplication::processEvents();
}

void tTK_Wait::Stop()
{
    fStarted = false;
    fForm->hide();
}

QObject* FindComponentByName(QObject* aOwner, const QString& aName, bool aRecursive)
{
    if (!aOwner)
        return nullptr;
    for (QObject* child : aOwner->children()) {
        if (child->objectName().compare(aName, Qt::CaseInsensitive) == 0)
            return child;
        if (aRecursive)
            if (QObject* found = FindComponentByName(child, aName, true))
                return found;
    }
    return nullptr;
}
