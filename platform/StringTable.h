#pragma once

#include <QHash>
#include <QString>
#include <optional>

// Numbered strings, the stand-in for a program's string-table resource. The text form has one entry
// per line: the number, one blank, the string. Blank lines and lines starting with "#" are skipped.
class TStringTable
{
public:
    TStringTable() = default;
    static TStringTable FromText(const QString& aText);
    // Reads the table from a file or Qt resource path; a missing one gives an empty table.
    static TStringTable FromResource(const QString& aPath);

    std::optional<QString> Find(int aId) const;
    bool IsEmpty() const { return fStrings.isEmpty(); }

private:
    QHash<int, QString> fStrings;
};

// A raw-data resource as text (UTF-8), empty when the resource is missing.
std::optional<QString> ReadResourceText(const QString& aPath);
