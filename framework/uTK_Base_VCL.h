#pragma once

// The framework's windows: the wait window, the version information dialog, and small widget helpers.

#include <QString>
#include <memory>

class QLabel;
class QObject;
class QWidget;

// A small borderless window shown during long operations: "Attendere prego ..." (or "Wait please ..."
// when the application's language is "en"), with an optional second line.
class tTK_Wait
{
public:
    static inline const QString Text_IT = QStringLiteral("Attendere prego ...");
    static inline const QString Text_EN = QStringLiteral("Wait please ...");

    tTK_Wait();
    ~tTK_Wait();

    void SetText(const QString& aValue);
    void Start(const QString& aText = {});   // shows the window and lets it paint at once
    void Stop();
    bool Started() const { return fStarted; }

    QWidget* Form() const { return fForm.get(); }
    QLabel* Label() const { return fLabel; }

private:
    std::unique_ptr<QWidget> fForm;
    QLabel* fLabel;   // owned by fForm
    bool fStarted = false;
};

// Shows the program's version and history, modally.
void ShowVersionInformation(QWidget* aOwner);
// Offers "Version Information" in the window's own menu (its context menu, the stand-in for the
// system menu).
void AddVersionInformationMenu(QWidget* aForm);

// The first object owned by aOwner named aName (ignoring case); with aRecursive, depth first.
QObject* FindComponentByName(QObject* aOwner, const QString& aName, bool aRecursive);
// A new GUID in registry form: 38 characters with braces, 36 without.
QString NewGuidString(bool aWithBraces);
