#include "IniFile.h"

#include "Cp1252.h"
#include "Exception.h"

#include <QFile>
#include <QStringDecoder>

namespace {
QString DecodeText(const QByteArray& aBytes)
{
    QByteArray bytes = aBytes.startsWith("\xEF\xBB\xBF") ? aBytes.mid(3) : aBytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? Cp1252::Decode(bytes) : text;
}
}

QString ReadTextFile(const QString& aFileName)
{
    QFile f(aFileName);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(aFileName, f.errorString()));
    return DecodeText(f.readAll());
}

TIniFile::TIniFile(const QString& aFileName)
{
    QFile f(aFileName);
    if (f.open(QIODevice::ReadOnly))
        Parse(DecodeText(f.readAll()));
}

TIniFile TIniFile::FromText(const QString& aText)
{
    TIniFile ini;
    ini.Parse(aText);
    return ini;
}

void TIniFile::Parse(const QString& aText)
{
    Section* current = nullptr;
    const auto lines = aText.split(u'\n');
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            QString name = line.mid(1, line.size() - 2).trimmed();
            current = const_cast<Section*>(Find(name));
            if (!current) {
                fSections.push_back({name, {}});
                current = &fSections.back();
            }
            continue;
        }
        qsizetype eq = line.indexOf(u'=');
        if (!current || eq < 0)
            continue;
        QString key = line.left(eq).trimmed();
        bool seen = false;
        for (const Entry& e : current->fEntries)
            if (e.fKey.compare(key, Qt::CaseInsensitive) == 0) { seen = true; break; }
        if (!seen)
            current->fEntries.push_back({key, line.mid(eq + 1).trimmed()});
    }
}

const TIniFile::Section* TIniFile::Find(const QString& aSection) const
{
    for (const Section& s : fSections)
        if (s.fName.compare(aSection, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool TIniFile::SectionExists(const QString& aSection) const
{
    return Find(aSection) != nullptr;
}

bool TIniFile::ValueExists(const QString& aSection, const QString& aKey) const
{
    if (const Section* s = Find(aSection))
        for (const Entry& e : s->fEntries)
            if (e.fKey.compare(aKey, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString TIniFile::ReadString(const QString& aSection, const QString& aKey, const QString& aDefault) const
{
    if (const Section* s = Find(aSection))
        for (const Entry& e : s->fEntries)
            if (e.fKey.compare(aKey, Qt::CaseInsensitive) == 0)
                return e.fValue;
    return aDefault;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    for (const Section& s : fSections)
        names << s.fName;
    return names;
}

QStringList TIniFile::ReadSection(const QString& aSection) const
{
    QStringList keys;
    if (const Section* s = Find(aSection))
        for (const Entry& e : s->fEntries)
            keys << e.fKey;
    return keys;
}
