#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A read-only ini file: sections of key=value lines. Section and key names compare ignoring case;
// where a name repeats, its first occurrence wins. Lines starting with ";" or "#" are comments.
// The text is read as UTF-8 when it is valid UTF-8, and as windows-1252 otherwise.
class TIniFile
{
public:
    // A missing or unreadable file reads as an empty one.
    explicit TIniFile(const QString& aFileName);

    static TIniFile FromText(const QString& aText);

    bool SectionExists(const QString& aSection) const;
    bool ValueExists(const QString& aSection, const QString& aKey) const;
    QString ReadString(const QString& aSection, const QString& aKey, const QString& aDefault = {}) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& aSection) const;   // key names of one section

private:
    TIniFile() = default;
    void Parse(const QString& aText);

    struct Entry { QString fKey; QString fValue; };
    struct Section { QString fName; std::vector<Entry> fEntries; };
    const Section* Find(const QString& aSection) const;

    std::vector<Section> fSections;
};

// Reads a text file the way the ini reader does (UTF-8 when valid, windows-1252 otherwise).
// Raises "Cannot open file \"<name>\"" when the file cannot be read.
QString ReadTextFile(const QString& aFileName);
