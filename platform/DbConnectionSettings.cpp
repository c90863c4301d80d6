#include "DbConnectionSettings.h"

#include <QStringList>

namespace {

bool KeyIs(const QString& aKey, std::initializer_list<const char*> aNames)
{
    for (const char* name : aNames)
        if (aKey.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsTrue(const QString& aValue)
{
    return KeyIs(aValue, {"SSPI", "true", "yes"});
}

// Reads "key=value" pairs separated by ";" into aPairs, honouring quoted values.
void ReadPairs(const QString& aText, std::vector<std::pair<QString, QString>>& aPairs)
{
    qsizetype i = 0;
    const qsizetype n = aText.size();
    while (i < n) {
        qsizetype eq = aText.indexOf(u'=', i);
        if (eq < 0)
            break;
        QString key = aText.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && aText[i] == u' ')
            ++i;
        QString value;
        if (i < n && (aText[i] == u'"' || aText[i] == u'\'')) {
            const QChar quote = aText[i++];
            while (i < n) {
                if (aText[i] == quote) {
                    if (i + 1 < n && aText[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += aText[i++];
            }
            qsizetype semi = aText.indexOf(u';', i);
            i = semi < 0 ? n : semi + 1;
        } else {
            qsizetype semi = aText.indexOf(u';', i);
            value = aText.mid(i, (semi < 0 ? n : semi) - i).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        aPairs.emplace_back(key, value);
    }
}

}

TDbConnectionSettings TDbConnectionSettings::Parse(const QString& aConnectionString)
{
    std::vector<std::pair<QString, QString>> pairs;
    ReadPairs(aConnectionString, pairs);
    TDbConnectionSettings s;
    for (const auto& [key, value] : pairs) {
        if (KeyIs(key, {"Provider"}))
            s.fProvider = value;
        else if (KeyIs(key, {"Data Source", "Server", "Address", "Addr"}))
            s.fDataSource = value;
        else if (KeyIs(key, {"Initial Catalog", "Database"}))
            s.fDatabase = value;
        else if (KeyIs(key, {"User ID", "UID", "User"}))
            s.fUserId = value;
        else if (KeyIs(key, {"Password", "PWD"}))
            s.fPassword = value;
        else if (KeyIs(key, {"Integrated Security", "Trusted_Connection"}))
            s.fIntegratedSecurity = IsTrue(value);
        else if (KeyIs(key, {"Application Name", "App"}))
            s.fApplicationName = value;
    }
    return s;
}

QString TDbConnectionSettings::QuoteValue(const QString& aValue)
{
    const bool plain = !aValue.contains(u';') && !aValue.startsWith(u'"') && !aValue.startsWith(u'\'')
                       && aValue.trimmed() == aValue;
    if (plain)
        return aValue;
    QString quoted = aValue;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool TDbConnectionSettings::IsEmbedded() const
{
    return fDataSource.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0;
}
