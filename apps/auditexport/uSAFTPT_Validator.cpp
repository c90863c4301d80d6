#include "uSAFTPT_Validator.h"

#include "Exception.h"
#include "IniFile.h"
#include "uSAFTPT_Controller.h"
#include "uSAFTPT_Settings.h"
#include "uTK_Base.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {
#ifdef Q_OS_WIN
const QString kDefaultValidator = QStringLiteral("Validador.exe");
#else
const QString kDefaultValidator = QStringLiteral("Validador");
#endif
constexpr int kPollMs = 500;

QString OutputPath(const QString& aName)
{
    return QDir::toNativeSeparators(QStringLiteral("../../Output/") + aName);
}
}

tkValidatorSettings ReadValidatorSettings()
{
    tkAuditExportSettings ini;
    tkValidatorSettings settings;
    settings.Program = ini.Value(QStringLiteral("Validator"));
    if (settings.Program.isEmpty())
        settings.Program = kDefaultValidator;
    bool ok = false;
    int timeout = ini.Value(QStringLiteral("ValidatorTimeout")).toInt(&ok);
    if (ok && timeout > 0)
        settings.TimeoutSeconds = timeout;
    return settings;
}

QString ValidateWithValidator(const kSAFTPTController& aController, const tkValidatorSettings& aSettings)
{
    const QString saft = OutputPath(QStringLiteral("SAFT-PT_Test.xml"));
    const QString check = OutputPath(QStringLiteral("SAFT-PT_Check.txt"));
    const QString key = OutputPath(QStringLiteral("_PTPublicKey.pem"));
    QDir().mkpath(QFileInfo(saft).path());
    aController.SaveToFile(saft);
    QFile::remove(check);
    const QString parameters =
        QStringLiteral("--publicKey \"%1\" --saft \"%2\" --output \"%3\"").arg(key, saft, check);
    if (ShellExec(aSettings.Program, QStringLiteral("open"), parameters) <= 32)
        throw Exception(QStringLiteral("Unable to start the validator \"%1\"").arg(aSettings.Program));

    QDeadlineTimer deadline(qint64(aSettings.TimeoutSeconds) * 1000);
    while (!QFile::exists(check)) {
        if (deadline.hasExpired())
            throw Exception(QStringLiteral("The validator \"%1\" wrote no report \"%2\" within %3 seconds")
                                .arg(aSettings.Program, check)
                                .arg(aSettings.TimeoutSeconds));
        QCoreApplication::processEvents();
        QThread::msleep(kPollMs);
    }
    return ReadTextFile(check);
}
