#pragma once

// The export window: a store and a period in, progress and the audit file out.

#include "uSAFTPT_Controller.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

class TForm1 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Tillary SAFT-PT Generator");
    // Past this many characters the log box shows the beginning of the document only.
    static constexpr qsizetype MaxShownChars = 2 * 1024 * 1024;

    // Connects to the registry and lists its stores. When the connection fails the user is told why
    // and Started() is false: the program then ends.
    explicit TForm1(QWidget* aParent = nullptr);
    ~TForm1() override;

    bool Started() const { return fController != nullptr; }

    void btProcessClick();
    void btQuitClick();
    void UpdateProgress(tkProgressPhase aPhase, int aPercent, const QString& aMessage);
    bool ValidateParameters();

    TDateTime StartDate() const { return fStartDate; }
    TDateTime EndDate() const { return fEndDate; }

    // Asks where to save, given the proposed file name; empty when the user declines. Tests replace it.
    std::function<QString(const QString& aProposedName)> AskSaveFileName;

    QGroupBox* gbParameters;
    QComboBox* cbStore;
    QTabWidget* pcPeriod;
    QWidget* tsByYear;
    QWidget* tsByMonth;
    QWidget* tsCustomRange;
    QComboBox* cbYear1;
    QComboBox* cbYear2;
    QComboBox* cbFromMonth;
    QComboBox* cbToMonth;
    QDateEdit* edFromDate;
    QDateEdit* edToDate;
    QGroupBox* gbProgress;
    QListWidget* lvProgress;
    QProgressBar* pbProgress;
    QPushButton* btProcess;
    QPushButton* btQuit;
    QPlainTextEdit* meLog;

private:
    void BuildLayout();
    void LoadStores();
    void ShowDocument(const QString& aText);
    void SaveDocument(const QString& aText, const kBranch& aBranch);
    void RunValidator();

    std::unique_ptr<kSAFTPTController> fController;
    std::vector<std::unique_ptr<kBranch>> fBranches;   // one per store item, in item order
    QString fLastMessage;
    TDateTime fStartDate;
    TDateTime fEndDate;
    bool fBusy = false;
};
