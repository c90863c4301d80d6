#pragma once

#include <QString>

// The settings a connection string of the form "Key=value;Key=value;" names. Keys ignore case and
// have their usual synonyms; a value may be enclosed in double or single quotes (a doubled quote
// stands for itself), which lets it hold a ";".
struct TDbConnectionSettings
{
    static TDbConnectionSettings Parse(const QString& aConnectionString);
    // The value as written into a connection string: quoted only when it has to be.
    static QString QuoteValue(const QString& aValue);

    // The data source "sqlite" (any letter case) selects the embedded engine; the database name
    // is then the database file's path.
    bool IsEmbedded() const;

    QString fProvider;
    QString fDataSource;
    QString fDatabase;
    QString fUserId;
    QString fPassword;
    bool fIntegratedSecurity = false;
    QString fApplicationName;
};
