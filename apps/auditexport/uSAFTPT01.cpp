#include "uSAFTPT01.h"

#include "Exception.h"
#include "TApplication.h"
#include "uSAFTPT_OutputText.h"
#include "uSAFTPT_Period.h"
#include "uSAFTPT_Validator.h"
#include "uTK_Base.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QComboBox* NewList(QWidget* aParent)
{
    auto* list = new QComboBox(aParent);
    list->setEditable(false);
    return list;
}

QDateEdit* NewDatePicker(QWidget* aParent)
{
    auto* picker = new QDateEdit(aParent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return picker;
}

void AddLabelled(QGridLayout* aGrid, int aRow, const QString& aLabel, QWidget* aField)
{
    aGrid->addWidget(new QLabel(aLabel), aRow, 0);
    aGrid->addWidget(aField, aRow, 1);
}

}

TForm1::TForm1(QWidget* aParent) : QWidget(aParent)
{
    BuildLayout();
    if (tTK_Application* app = TKApplication())
        setWindowTitle(Caption + u' ' + app->Info().VersionString());
    AskSaveFileName = [this](const QString& aProposed) {
        return QFileDialog::getSaveFileName(this, QString(), aProposed,
                                            QStringLiteral("SAFT-PT files (*.xml)"));
    };
    try {
        fController = std::make_unique<kSAFTPTController>();
    } catch (const Exception& e) {
        QString message = e.Message();
        QString cause = kSAFTPTController::ConnectionError();
        if (!cause.isEmpty())
            message += QStringLiteral("\r\n") + cause;
        ShowUserMessage(let_error, message);
        return;
    }
    fController->SetOnProgress(
        [this](tkProgressPhase aPhase, int aPercent, const QString& aMessage) { UpdateProgress(aPhase, aPercent, aMessage); });
    LoadStores();
    btProcess->setEnabled(cbStore->count() > 0);
    if (cbStore->count() == 1) {
        cbStore->setCurrentIndex(0);
        cbStore->setEnabled(false);
    }
    edFromDate->setDate(QDate::currentDate());
    edToDate->setDate(QDate::currentDate());
    pcPeriod->setCurrentWidget(tsCustomRange);
    const int year = QDate::currentDate().year();
    for (int y = year - 11; y <= year; ++y) {
        cbYear1->addItem(QString::number(y));
        cbYear2->addItem(QString::number(y));
    }
    cbYear1->setCurrentIndex(-1);
    cbYear2->setCurrentIndex(-1);
}

TForm1::~TForm1() = default;

void TForm1::BuildLayout()
{
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(747, 469);

    gbParameters = new QGroupBox(QStringLiteral("Enter the parameters to export data"), this);
    cbStore = NewList(gbParameters);
    pcPeriod = new QTabWidget(gbParameters);
    tsByYear = new QWidget;
    tsByMonth = new QWidget;
    tsCustomRange = new QWidget;
    pcPeriod->addTab(tsByYear, QStringLiteral("by Year"));
    pcPeriod->addTab(tsByMonth, QStringLiteral("by Month"));
    pcPeriod->addTab(tsCustomRange, QStringLiteral("Custom Range"));

    cbYear1 = NewList(tsByYear);
    auto* yearGrid = new QGridLayout(tsByYear);
    AddLabelled(yearGrid, 0, QStringLiteral("Year"), cbYear1);
    yearGrid->setRowStretch(1, 1);

    cbYear2 = NewList(tsByMonth);
    cbFromMonth = NewList(tsByMonth);
    cbToMonth = NewList(tsByMonth);
    for (int m = 1; m <= 12; ++m) {
        cbFromMonth->addItem(QString::number(m));
        cbToMonth->addItem(QString::number(m));
    }
    cbFromMonth->setCurrentIndex(-1);
    cbToMonth->setCurrentIndex(-1);
    auto* monthGrid = new QGridLayout(tsByMonth);
    AddLabelled(monthGrid, 0, QStringLiteral("Year"), cbYear2);
    AddLabelled(monthGrid, 1, QStringLiteral("From Month"), cbFromMonth);
    AddLabelled(monthGrid, 2, QStringLiteral("To Month"), cbToMonth);
    monthGrid->setRowStretch(3, 1);

    edFromDate = NewDatePicker(tsCustomRange);
    edToDate = NewDatePicker(tsCustomRange);
    auto* rangeGrid = new QGridLayout(tsCustomRange);
    AddLabelled(rangeGrid, 0, QStringLiteral("From Date"), edFromDate);
    AddLabelled(rangeGrid, 1, QStringLiteral("To Date"), edToDate);
    rangeGrid->setRowStretch(2, 1);

    auto* parameters = new QVBoxLayout(gbParameters);
    parameters->addWidget(new QLabel(QStringLiteral("Store")));
    parameters->addWidget(cbStore);
    parameters->addWidget(pcPeriod);

    gbProgress = new QGroupBox(QStringLiteral("Progress"), this);
    lvProgress = new QListWidget(gbProgress);
    lvProgress->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvProgress->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pbProgress = new QProgressBar(gbProgress);
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    auto* progress = new QVBoxLayout(gbProgress);
    progress->addWidget(new QLabel(QStringLiteral("Step")));
    progress->addWidget(lvProgress, 1);
    progress->addWidget(pbProgress);

    btProcess = new QPushButton(QStringLiteral("Process"), this);
    btProcess->setDefault(true);
    btProcess->setAutoDefault(true);
    btQuit = new QPushButton(QStringLiteral("Quit"), this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TForm1::btQuitClick);
    connect(btProcess, &QPushButton::clicked, this, &TForm1::btProcessClick);
    connect(btQuit, &QPushButton::clicked, this, &TForm1::btQuitClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btProcess);
    buttons->addWidget(btQuit);

    meLog = new QPlainTextEdit(this);
    meLog->setReadOnly(true);
    meLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    meLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* left = new QVBoxLayout;
    left->addWidget(gbParameters);
    left->addWidget(gbProgress, 1);
    left->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addWidget(meLog, 1);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm1::LoadStores()
{
    std::unique_ptr<kBranchList> branches = fController->LoadBranches();
    for (int i = 0; i < branches->Count(); ++i) {
        kBranch* branch = branches->Items(i);
        cbStore->addItem(branch->Code() + QStringLiteral(" - ") + branch->Name());
    }
    fBranches = branches->Release();
    cbStore->setCurrentIndex(-1);
}

bool TForm1::ValidateParameters()
{
    QString problem;
    if (cbStore->currentIndex() < 0) {
        problem = tkPeriodMessages::NoStore;
    } else {
        tkPeriodInput input;
        if (pcPeriod->currentWidget() == tsByYear) {
            input.Page = tkPeriodPage::ByYear;
            input.Year = cbYear1->currentText();
        } else if (pcPeriod->currentWidget() == tsByMonth) {
            input.Page = tkPeriodPage::ByMonth;
            input.Year = cbYear2->currentText();
            input.FromMonth = cbFromMonth->currentText();
            input.ToMonth = cbToMonth->currentText();
        } else {
            input.FromDate = edFromDate->date();
            input.ToDate = edToDate->date();
        }
        problem = ResolvePeriod(input, fStartDate, fEndDate);
    }
    if (!problem.isEmpty())
        ShowUserMessage(let_error, problem);
    return problem.isEmpty();
}

void TForm1::btProcessClick()
{
    // The progress handler lets the window take clicks meanwhile: one export at a time.
    if (fBusy || !fController || !ValidateParameters())
        return;
    fBusy = true;
    btProcess->setEnabled(false);
    struct Done
    {
        TForm1* fForm;
        ~Done()
        {
            fForm->fBusy = false;
            fForm->btProcess->setEnabled(true);
        }
    } done{this};

    fLastMessage.clear();
    kBranch& branch = *fBranches.at(size_t(cbStore->currentIndex()));
    if (!fController->Process(&branch, fStartDate, fEndDate)) {
        ShowUserMessage(let_error, QStringLiteral("Error during SAFT-PT Generation"));
        return;
    }
    const QString document = fController->Output();
    ShowDocument(document);
    tTK_Application* app = TKApplication();
    if (app && app->IsTest())
        RunValidator();
    else
        SaveDocument(document, branch);
}

void TForm1::ShowDocument(const QString& aText)
{
    if (aText.size() <= MaxShownChars) {
        meLog->setPlainText(aText);
        return;
    }
    qsizetype cut = aText.lastIndexOf(u'\n', MaxShownChars);
    meLog->setPlainText(aText.left(cut < 0 ? MaxShownChars : cut)
                        + QStringLiteral("\r\n... The document goes on for %1 more characters: the whole of "
                                         "it is in the file you save.")
                              .arg(aText.size() - (cut < 0 ? MaxShownChars : cut)));
}

void TForm1::SaveDocument(const QString& aText, const kBranch& aBranch)
{
    const QString fileName = AskSaveFileName(ProposedFileName(aBranch.Code(), fStartDate, fEndDate));
    if (!fileName.isEmpty())
        SaveOutputText(fileName, aText);
}

void TForm1::RunValidator()
{
    try {
        ShowUserMessage(let_info, ValidateWithValidator(*fController, ReadValidatorSettings()));
    } catch (const Exception& e) {
        ShowUserMessage(let_error, e.Message());
    }
}

void TForm1::UpdateProgress(tkProgressPhase, int aPercent, const QString& aMessage)
{
    if (!aMessage.isEmpty() && aMessage != fLastMessage) {
        lvProgress->addItem(aMessage);
        lvProgress->scrollToBottom();
        fLastMessage = aMessage;
    }
    pbProgress->setValue(aPercent);
    QCoreApplication::processEvents();
}

void TForm1::btQuitClick()
{
    if (tTK_Application* app = TKApplication())
        app->Terminate();
    else
        QCoreApplication::quit();
}
