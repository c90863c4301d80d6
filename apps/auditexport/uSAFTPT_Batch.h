#pragma once

// The export from the command line, for scheduled runs:
//   auditexport /BATCH /STORE=<code> (/YEAR=<yyyy> [/FROMMONTH=<m> /TOMONTH=<m>] | /FROM=<yyyy-mm-dd> /TO=<yyyy-mm-dd>) [/OUT=<file>]

#include <QString>

class QTextStream;

// True when the command line asks for help ("/?" or "--help").
bool HelpRequested(int argc, char** argv);
// True when the program runs without its window (batch or help).
bool RunsWithoutWindow(int argc, char** argv);

QString BatchUsage();

// Exit codes of a batch run.
enum tkBatchExit { be_Done = 0, be_Failed = 1, be_BadCommandLine = 2 };

// Runs the export that the command line describes: progress to aOut, the path of the written file
// last; errors to aErr and the log. Returns the exit code.
int RunBatchExport(QTextStream& aOut, QTextStream& aErr);
