#pragma once

#include <QString>

// Writes the export's text as the window shows it: lines ended by CR LF, windows-1252, no byte-order
// mark. The file is written beside the target and renamed into place, so a failed write leaves any
// earlier file intact. Raises an error naming the file when it cannot be written.
void SaveOutputText(const QString& aFileName, const QString& aText);
