#include "SqliteDialect.h"

#include "DbValues.h"

#include <QRegularExpression>

namespace {

// A quoted SQL string's content with its doubled quotes undone.
const QString kQuotedContent = QStringLiteral(R"('((?:[^']|'')*)')");

QRegularExpression Pattern(const QString& aPattern)
{
    return QRegularExpression(u'^' + aPattern + QStringLiteral(R"(\s*;?\s*$)"),
                              QRegularExpression::CaseInsensitiveOption);
}

// The object name of an object_id() argument: the quotes undone, a "tempdb.." prefix (the
// embedded engine keeps temporary tables beside the others) and the brackets removed.
QString ObjectName(QString aQuoted)
{
    aQuoted.replace(QStringLiteral("''"), QStringLiteral("'"));
    if (aQuoted.startsWith(QLatin1String("tempdb.."), Qt::CaseInsensitive))
        aQuoted = aQuoted.mid(8);
    if (aQuoted.startsWith(u'[') && aQuoted.endsWith(u']'))
        aQuoted = aQuoted.mid(1, aQuoted.size() - 2).replace(QStringLiteral("]]"), QStringLiteral("]"));
    return aQuoted;
}

TDbStatement Statement(const QString& aSql, std::vector<QVariant> aValues = {})
{
    TDbStatement s;
    s.fText = TDbSqlText(aSql);
    for (QVariant& v : aValues)
        s.fBindings.push_back(TDbParam{QString(), std::move(v), ftUnknown});
    return s;
}

QString QuotedIdentifier(QString aName)
{
    return u'"' + aName.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}

namespace SqliteDialect {

std::optional<TDbStatement> Translate(const QString& aSql, const TSession& aSession)
{
    static const QRegularExpression kSession =
        Pattern(QStringLiteral(R"(select\s+login_time\s*,\s*spid\s+from\s+master\.\.sysprocesses\s+)"
                               R"(where\s+spid\s*=\s*@@spid)"));
    static const QRegularExpression kServerName = Pattern(QStringLiteral(R"(select\s+@@servername)"));
    static const QRegularExpression kRowCount =
        Pattern(QStringLiteral(R"(select\s+@@rowcount(?:\s+as\s+(\w+))?)"));
    static const QRegularExpression kExists = Pattern(
        QStringLiteral(R"(select\s+case\s+when\s+object_id\s*\(\s*)") + kQuotedContent
        + QStringLiteral(R"(\s*\)\s+is\s+null\s+then\s+0\s+else\s+1\s+end\s+as\s+(\w+))"));
    static const QRegularExpression kDrop =
        Pattern(QStringLiteral(R"(if\s+not\s+object_id\s*\(\s*)") + kQuotedContent
                + QStringLiteral(R"(\s*\)\s+is\s+null\s+drop\s+table\s+\S+)"));
    static const QRegularExpression kColumns =
        Pattern(QStringLiteral(R"(select\s+name\s+from\s+sys\.columns\s+where\s+object_id\s*=\s*)"
                               R"(object_id\s*\(\s*)")
                + kQuotedContent + QStringLiteral(R"(\s*\)\s+order\s+by\s+column_id)"));

    QRegularExpressionMatch m;
    if (kSession.match(aSql).hasMatch())
        return Statement(QStringLiteral("select ? as login_time, ? as spid"),
                         {DbValues::IsoDateTime(aSession.fLoginTime), aSession.fProcessId});
    if (kServerName.match(aSql).hasMatch())
        return Statement(QStringLiteral("select 'sqlite' as ServerName"));
    if ((m = kRowCount.match(aSql)).hasMatch()) {
        QString name = m.captured(1).isEmpty() ? QStringLiteral("RowCount") : m.captured(1);
        return Statement(QStringLiteral("select changes() as ") + QuotedIdentifier(name));
    }
    if ((m = kExists.match(aSql)).hasMatch()) {
        const QString name = ObjectName(m.captured(1));
        return Statement(QStringLiteral("select case when exists(select 1 from sqlite_master where name=? collate "
                                        "nocase union all select 1 from sqlite_temp_master where name=? collate "
                                        "nocase) then 1 else 0 end as ")
                             + QuotedIdentifier(m.captured(2)),
                         {name, name});
    }
    if ((m = kDrop.match(aSql)).hasMatch())
        return Statement(QStringLiteral("drop table if exists ") + QuotedIdentifier(ObjectName(m.captured(1))));
    if ((m = kColumns.match(aSql)).hasMatch())
        return Statement(QStringLiteral("select name from pragma_table_info(?) order by cid"),
                         {ObjectName(m.captured(1))});
    return std::nullopt;
}

}
