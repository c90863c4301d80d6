#pragma once

#include <QString>
#include <QStringList>

// What the programs ask of their surroundings: where they run, how they were started, who runs them.
namespace Environment {

// Full path of the running executable; directory with a trailing separator; name without extension.
QString ExePath();
QString ExeDir();
QString ExeBaseName();

// Command-line parameters after the program name. Tests may replace them.
QStringList CommandLine();
void SetCommandLine(const QStringList& aParameters);

// An environment variable, empty when unset.
QString Variable(const QString& aName);
// COMPUTERNAME, or the host name where it is unset.
QString ComputerName();
// USERNAME, or USER where it is unset.
QString UserName();

// The directory that stands for the Windows directory: SAFT_WINDOWS_DIR when set (tests redirect it),
// otherwise %WINDIR% on Windows and /etc elsewhere. No trailing separator.
QString WindowsDir();

// The host's first non-loopback IPv4 address (loopback when there is none).
QString LocalIP();

// A new GUID, upper-case hex, 38 characters with braces or 36 without.
QString NewGuidString(bool aWithBraces);

// Opens a file the way the desktop shell does for the verb ("open" starts a program with the
// parameters, without waiting). Returns a value above 32 on success, as the Windows shell does.
int ShellExecute(const QString& aFile, const QString& aVerb, const QString& aParameters);

// The most memory the process has held at once, in bytes (0 where the system does not tell).
qint64 PeakMemoryBytes();

// Splits a parameter string at blanks outside double quotes; the quotes are removed.
QStringList SplitParameters(const QString& aParameters);

}
