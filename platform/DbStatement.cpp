#include "DbStatement.h"

#include "DbValues.h"
#include "Exception.h"

namespace {
bool IsNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
}

TDbSqlText::TDbSqlText(QString aSql) : fSql(std::move(aSql))
{
    const QString& s = fSql;
    const qsizetype n = s.size();
    fPositionalSql.reserve(n);
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype aEnd) {
        fPositionalSql += QStringView(s).mid(i, aEnd - i);
        i = aEnd;
    };
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            // A quoted run ends at its closing character; a doubled closing character stays inside.
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n) {
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            copyUntil(j);
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            qsizetype end = s.indexOf(u'\n', i);
            copyUntil(end < 0 ? n : end);
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(end < 0 ? n : end + 2);
        } else if (c == u':' && i + 1 < n && s[i + 1] == u':') {
            copyUntil(i + 2);
        } else if (c == u':' && i + 1 < n && IsNameStart(s[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && IsNamePart(s[j]))
                ++j;
            fParamNames << s.mid(i + 1, j - i - 1);
            fPositionalSql += u'?';
            i = j;
        } else {
            fPositionalSql += c;
            ++i;
        }
    }
}

std::vector<TDbParam> TDbStatement::Bind(const TDbSqlText& aText, const TDbParams& aParams)
{
    for (const TDbParam& p : aParams)
        if (!aText.ParamNames().contains(p.name, Qt::CaseInsensitive))
            throw Exception(QStringLiteral("Parameter '%1' not found").arg(p.name));
    std::vector<TDbParam> bindings;
    bindings.reserve(aText.ParamNames().size());
    for (const QString& name : aText.ParamNames()) {
        auto it = std::find_if(aParams.begin(), aParams.end(), [&](const TDbParam& p) {
            return p.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == aParams.end())
            throw Exception(QStringLiteral("No value given for parameter '%1'").arg(name));
        TDbParam binding = *it;
        if (DbValues::IsNull(binding.value))
            binding.value = DbValues::TypedNull(binding.dataType);
        bindings.push_back(std::move(binding));
    }
    return bindings;
}
