// The version information dialog.
#include "Environment.h"
#include "uTK_Base.h"
#include "uTK_Base_VCL.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
// Newest version first: a bold heading line, then the change notes as bullets.
QString HistoryHtml(const tTK_ApplicationInfo& aInfo)
{
    QString html;
    const auto& history = aInfo.History();
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        const tTK_ApplicationHistory& entry = **it;
        html += QStringLiteral("<p>&nbsp;</p><p style=\"margin-left:10px; font-size:10pt\"><b>Version %1 - "
                               "Release Date: %2 - Author: %3</b></p>")
                    .arg(entry.Version().toHtmlEscaped(), ShortDateText(entry.ReleaseDate()),
                         entry.Author().toHtmlEscaped());
        QString bullets;
        for (const QString& note : entry.Text())
            if (!note.isEmpty())
                bullets += QStringLiteral("<li>%1</li>").arg(note.toHtmlEscaped());
        if (!bullets.isEmpty())
            html += QStringLiteral("<ul style=\"margin-left:20px\">%1</ul>").arg(bullets);
    }
    return html;
}
}

void ShowVersionInformation(QWidget* aOwner)
{
    tTK_Application* app = TKApplication();
    if (!app)
        return;
    const tTK_ApplicationInfo& info = app->Info();

    QDialog dialog(aOwner);
    dialog.setWindowTitle(QStringLiteral("Version Information for ") + Environment::ExePath());
    dialog.setFixedSize(700, 500);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* top = new QWidget(&dialog);
    top->setFixedHeight(50);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(9, 9, 12, 9);
    topLayout->setSpacing(16);
    auto* icon = new QLabel(top);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setFixedSize(32, 32);
    auto* title = new QLabel(QStringLiteral("%1 - %2\nCurrent Version: %3 - %4")
                                 .arg(QFileInfo(Environment::ExePath()).fileName(), info.Description(),
                                      info.Version(), ShortDateText(info.ReleaseDate())),
                             top);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    topLayout->addWidget(icon);
    topLayout->addWidget(title, 1);
    layout->addWidget(top);

    auto* group = new QGroupBox(QStringLiteral("Version History"), &dialog);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(10, 10, 10, 10);
    auto* history = new QTextEdit(group);
    history->setReadOnly(true);
    history->setLineWrapMode(QTextEdit::NoWrap);
    history->setHtml(HistoryHtml(info));
    groupLayout->addWidget(history);
    auto* middle = new QWidget(&dialog);
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(10, 10, 10, 0);
    middleLayout->addWidget(group);
    layout->addWidget(middle, 1);

    auto* bottom = new QWidget(&dialog);
    bottom->setFixedHeight(50);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(10, 0, 10, 0);
    auto* copyright = new QLabel(info.Copyright(), bottom);
    copyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* ok = new QPushButton(QStringLiteral("Ok"), bottom);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    bottomLayout->addWidget(copyright, 1);
    bottomLayout->addWidget(ok, 0, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(bottom);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
    dialog.exec();   // Escape rejects, which closes it too
}

void AddVersionInformationMenu(QWidget* aForm)
{
    auto* separator = new QAction(aForm);
    separator->setSeparator(true);
    auto* item = new QAction(QStringLiteral("Version Information"), aForm);
    QObject::connect(item, &QAction::triggered, aForm, [aForm] { ShowVersionInformation(aForm); });
    aForm->addAction(separator);
    aForm->addAction(item);
    aForm->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString NewGuidString(bool aWithBraces)
{
    return Environment::NewGuidString(aWithBraces);
}
