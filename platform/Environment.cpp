#include "Environment.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>
#include <QUrl>
#include <QUuid>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {
std::optional<QStringList>& CommandLineOverride()
{
    static std::optional<QStringList> parameters;
    return parameters;
}
}

namespace Environment {

QString ExePath()
{
    return QCoreApplication::applicationFilePath();
}

QString ExeDir()
{
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir;
}

QString ExeBaseName()
{
    return QFileInfo(ExePath()).completeBaseName();
}

QStringList CommandLine()
{
    if (CommandLineOverride())
        return *CommandLineOverride();
    return QCoreApplication::arguments().mid(1);
}

void SetCommandLine(const QStringList& aParameters)
{
    CommandLineOverride() = aParameters;
}

QString Variable(const QString& aName)
{
    return qEnvironmentVariable(aName.toUtf8().constData());
}

QString ComputerName()
{
    QString name = Variable(QStringLiteral("COMPUTERNAME"));
    return name.isEmpty() ? QHostInfo::localHostName() : name;
}

QString UserName()
{
    QString name = Variable(QStringLiteral("USERNAME"));
    return name.isEmpty() ? Variable(QStringLiteral("USER")) : name;
}

QString WindowsDir()
{
    QString dir = Variable(QStringLiteral("SAFT_WINDOWS_DIR"));
#ifdef Q_OS_WIN
    if (dir.isEmpty())
        dir = Variable(QStringLiteral("WINDIR"));
#else
    if (dir.isEmpty())
        dir = QStringLiteral("/etc");
#endif
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\')))
        dir.chop(1);
    return QDir::toNativeSeparators(dir);
}

QString LocalIP()
{
    const auto addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress& a : addresses)
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a.toString();
    return QStringLiteral("127.0.0.1");
}

QString NewGuidString(bool aWithBraces)
{
    return QUuid::createUuid()
        .toString(aWithBraces ? QUuid::WithBraces : QUuid::WithoutBraces)
        .toUpper();
}

QStringList SplitParameters(const QString& aParameters)
{
    QStringList out;
    QString current;
    bool quoted = false, any = false;
    for (QChar c : aParameters) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any) out << current;
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) out << current;
    return out;
}

int ShellExecute(const QString& aFile, const QString& aVerb, const QString& aParameters)
{
    constexpr int kFileNotFound = 2, kOk = 42;
    if (aVerb.isEmpty() || aVerb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0) {
        QFileInfo info(aFile);
        if (info.isFile() && !info.isExecutable())
            return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kOk : kFileNotFound;
        return QProcess::startDetached(aFile, SplitParameters(aParameters)) ? kOk : kFileNotFound;
    }
    return QDesktopServices::openUrl(QUrl::fromUserInput(aFile)) ? kOk : kFileNotFound;
}

qint64 PeakMemoryBytes()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return qint64(usage.ru_maxrss) * 1024;   // kilobytes on Linux
#endif
    return 0;
}

}
