#include "StringTable.h"

#include <QFile>

std::optional<QString> ReadResourceText(const QString& aPath)
{
    QFile f(aPath);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

TStringTable TStringTable::FromText(const QString& aText)
{
    TStringTable table;
    const auto lines = aText.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        qsizetype blank = line.indexOf(u' ');
        bool ok = false;
        int id = line.left(blank).toInt(&ok);
        if (ok && !table.fStrings.contains(id))
            table.fStrings.insert(id, blank < 0 ? QString() : line.mid(blank + 1));
    }
    return table;
}

TStringTable TStringTable::FromResource(const QString& aPath)
{
    auto text = ReadResourceText(aPath);
    return text ? FromText(*text) : TStringTable();
}

std::optional<QString> TStringTable::Find(int aId) const
{
    auto it = fStrings.constFind(aId);
    if (it == fStrings.constEnd())
        return std::nullopt;
    return *it;
}
