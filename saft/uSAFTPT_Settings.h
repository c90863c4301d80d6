#pragma once

// The export's settings file, auditexport.ini in the current directory: key=value lines, keys
// compared ignoring case, the first line with a key counting; lines without "=" are ignored.

#include <QHash>
#include <QString>

class tkAuditExportSettings
{
public:
    static inline const QString FileName = QStringLiteral("auditexport.ini");

    // Reads the file of the current directory; Exists() is false when there is none.
    tkAuditExportSettings();

    bool Exists() const { return fExists; }
    // The value of the key; empty when the key is missing.
    QString Value(const QString& aKey) const { return fValues.value(aKey.toLower()); }

private:
    bool fExists = false;
    QHash<QString, QString> fValues;   // by lower-case key
};
