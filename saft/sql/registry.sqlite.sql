-- Registry database on the embedded engine. Date-times are text 'yyyy-mm-ddThh:nn:ss.zzz', so that
-- the quoted literals of the export's queries compare correctly.

CREATE TABLE CompanyRecord (
    Id                            TEXT PRIMARY KEY NOT NULL,
    Company_VATId                 TEXT,
    Company_TaxRegistrationNumber TEXT,
    Company_Name                  TEXT,
    Company_BusinessName          TEXT,
    Company_AddressDetail         TEXT,
    Company_City                  TEXT,
    Company_PostalCode            TEXT,
    Company_Region                TEXT,
    Company_Country               TEXT
);

CREATE TABLE BranchRecord (
    Id                      TEXT PRIMARY KEY NOT NULL,
    Branch_Code             TEXT NOT NULL UNIQUE,
    Branch_Name             TEXT,
    Branch_AddressDetail    TEXT,
    Branch_City             TEXT,
    Branch_PostalCode       TEXT,
    Branch_Region           TEXT,
    Branch_Country          TEXT,
    Branch_Company          TEXT REFERENCES CompanyRecord (Id),
    InvoiceDocumentType     TEXT,
    CreditNoteDocumentType  TEXT,
    InvoiceSerieTemplate    TEXT,
    CreditNoteSerieTemplate TEXT,
    TaxCountryRegion        TEXT
);

CREATE TABLE Series (
    Id                    TEXT PRIMARY KEY NOT NULL,
    Serie_Code            TEXT NOT NULL UNIQUE,
    Serie_Validation_Code TEXT UNIQUE,
    Serie_LastNumber      INTEGER,
    Serie_Closed          INTEGER NOT NULL DEFAULT 0,
    Serie_LastDate        TEXT,
    Serie_LastHash        TEXT,
    Serie_LastBranch_Code TEXT,
    Serie_LastTill_Code   TEXT
);

CREATE TABLE Receipts (
    Id                        INTEGER PRIMARY KEY,
    ReceiptDateTime           TEXT NOT NULL,
    ReceiptNumber             TEXT NOT NULL,
    Serie                     TEXT,
    Number                    INTEGER NOT NULL,
    Status                    TEXT NOT NULL,
    SystemEntryDateTime       TEXT,
    LastReceiptStatusOperator TEXT,
    LastStatusDateTime        TEXT,
    DocumentType              TEXT NOT NULL,
    SourceBilling             TEXT,
    ManualDocumentNumber      TEXT,
    FiscalId                  TEXT,
    Hash                      TEXT,
    Receipt                   TEXT NOT NULL
);

CREATE INDEX IX_Receipts_ReceiptDateTime ON Receipts (ReceiptDateTime);
CREATE INDEX IX_Receipts_Number ON Receipts (Number, ReceiptDateTime);
