#pragma once

// The sample registry: an embedded registry database holding a Portuguese shop's documents as its
// tills would have recorded them (companies, stores, document series and receipts), and the
// auditexport.ini that points the export at it. The same options give the same file, byte for byte.
//
// The documents cover what the export meets in a real shop: invoice-receipts and credit notes that
// refer to earlier receipts; normal and cancelled documents; documents issued by the tills, written
// by hand or keyed in again after a failure; the final consumer and named customers with or without a
// tax number; coded, uncoded, weighted, free and discounted lines, products and services, at every
// VAT rate and exempt; every payment type. The first receipts of every registry go through each of
// these kinds once, so that a registry of a few dozen receipts already holds them all.

#include "TDateTime.h"

class TDbConnection;

#include <QString>
#include <QStringList>
#include <cstdint>

struct tkSampleRegistryOptions
{
    QString FileName = QStringLiteral("sample-registry.db");
    uint64_t Seed = 1;
    int ReceiptCount = 10000;
    // The receipts fall in the shops' opening hours of these days, both included, one receipt a
    // second at most.
    TDateTime FirstDay = TDateTime::EncodeDate(2024, 1, 1);
    TDateTime LastDay = TDateTime::EncodeDate(2024, 12, 31);
    // Replace an existing database (and settings file) instead of refusing.
    bool Overwrite = false;
    // Also write auditexport.ini beside the database, naming it by its file name.
    bool WriteIniFile = true;
};

struct tkSampleRegistrySummary
{
    QString FileName;      // the database, absolute
    QString IniFileName;   // the settings file, absolute; empty when none was written
    QStringList StoreCodes;
    int Companies = 0;
    int Series = 0;
    int Receipts = 0;
    int CreditNotes = 0;
    int Cancelled = 0;
    int HandWritten = 0;   // source billing M
    int Recovered = 0;     // source billing D
    TDateTime FirstReceipt;
    TDateTime LastReceipt;
};

// Creates the registry in one transaction. Raises an Exception with a message for the user when the
// options cannot be met, when a file to write exists and Overwrite is off, or when the database cannot
// be written; existing files are then left as they were and nothing new is left behind.
tkSampleRegistrySummary MakeSampleRegistry(const tkSampleRegistryOptions& aOptions);

// Creates the registry's tables and indexes on an open embedded connection.
void CreateRegistrySchema(TDbConnection& aConnection);

// --- The command line of make-sample-registry.

struct tkSampleRegistryCommand
{
    bool Help = false;
    tkSampleRegistryOptions Options;
};

// The arguments without the program name. Raises an Exception naming the argument that is wrong.
tkSampleRegistryCommand ParseSampleRegistryCommandLine(const QStringList& aArguments);
QString SampleRegistryUsage();
// What the tool prints once the registry is made.
QString SampleRegistryReport(const tkSampleRegistrySummary& aSummary);
