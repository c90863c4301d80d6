#pragma once

#include <QString>
#include <memory>

// Shows a modal message to the user. The programs use message boxes; tests install a presenter that
// records what would have been shown.
class TMessagePresenter
{
public:
    enum class Kind { Information, Error };
    virtual ~TMessagePresenter() = default;
    virtual void Show(Kind aKind, const QString& aText) = 0;

    // The presenter in use; a message-box presenter until one is installed.
    static TMessagePresenter& Current();
    // Installs a presenter and returns the one it replaces (nullptr stands for the message boxes).
    static std::unique_ptr<TMessagePresenter> Install(std::unique_ptr<TMessagePresenter> aPresenter);
};
