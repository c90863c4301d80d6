#pragma once

#include "Exception.h"
#include "MessagePresenter.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

// Readable text in test failures.
inline void PrintTo(const QString& aText, std::ostream* aStream) { *aStream << '"' << aText.toStdString() << '"'; }

// Records the messages that would have been shown, for as long as it lives.
class TRecordingPresenter
{
public:
    using Message = std::pair<TMessagePresenter::Kind, QString>;
    TRecordingPresenter();
    ~TRecordingPresenter();
    const std::vector<Message>& Messages() const;

private:
    struct Recorder;
    Recorder* fRecorder;   // owned by the presenter slot while installed
    std::unique_ptr<TMessagePresenter> fPrevious;
};

// Replaces the command line for as long as it lives.
class TCommandLineScope
{
public:
    explicit TCommandLineScope(const QStringList& aParameters);
    ~TCommandLineScope();
};

// The shared folder beside the project (schema files), empty when it is absent.
QString SharedDir();
// Reads a whole file as bytes; empty when missing.
QByteArray ReadFileBytes(const QString& aFileName);

// The message of the error that aAction raises; "(no error)" when it raises none.
template <class F>
QString ErrorOf(F aAction)
{
    try {
        aAction();
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(no error)");
}
