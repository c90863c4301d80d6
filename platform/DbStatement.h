#pragma once

#include "DbTypes.h"

#include <QString>
#include <QStringList>
#include <vector>

// SQL text with named parameters: a colon followed by a name marks a parameter, except inside
// quoted strings, bracketed or double-quoted names and comments.
class TDbSqlText
{
public:
    TDbSqlText() = default;
    explicit TDbSqlText(QString aSql);

    const QString& Sql() const { return fSql; }
    // The same text with each parameter replaced by "?", for drivers that bind by position.
    const QString& PositionalSql() const { return fPositionalSql; }
    // The parameter names in order of appearance; a name used twice appears twice.
    const QStringList& ParamNames() const { return fParamNames; }

private:
    QString fSql;
    QString fPositionalSql;
    QStringList fParamNames;
};

// A statement ready for an engine: its text, one value per parameter position, and the command
// time-out.
struct TDbStatement
{
    // Binds aParams by name (ignoring case). Raises "Parameter '<name>' not found" for a parameter
    // the text does not use, and "No value given for parameter '<name>'" for one it uses but
    // aParams lacks. A null value takes the null of the parameter's declared type.
    static std::vector<TDbParam> Bind(const TDbSqlText& aText, const TDbParams& aParams);

    TDbSqlText fText;
    std::vector<TDbParam> fBindings;
    int fTimeout = 0;   // seconds; 0 leaves the driver's default
};
