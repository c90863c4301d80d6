-- Registry database on Microsoft SQL Server.

CREATE TABLE dbo.CompanyRecord (
    Id                            NVARCHAR(38)  NOT NULL CONSTRAINT PK_CompanyRecord PRIMARY KEY,
    Company_VATId                 NVARCHAR(20)  NULL,
    Company_TaxRegistrationNumber NVARCHAR(20)  NULL,
    Company_Name                  NVARCHAR(200) NULL,
    Company_BusinessName          NVARCHAR(200) NULL,
    Company_AddressDetail         NVARCHAR(210) NULL,
    Company_City                  NVARCHAR(50)  NULL,
    Company_PostalCode            NVARCHAR(20)  NULL,
    Company_Region                NVARCHAR(50)  NULL,
    Company_Country               NVARCHAR(2)   NULL
);
GO

CREATE TABLE dbo.BranchRecord (
    Id                      NVARCHAR(38)  NOT NULL CONSTRAINT PK_BranchRecord PRIMARY KEY,
    Branch_Code             NVARCHAR(20)  NOT NULL CONSTRAINT UQ_BranchRecord_Code UNIQUE,
    Branch_Name             NVARCHAR(100) NULL,
    Branch_AddressDetail    NVARCHAR(210) NULL,
    Branch_City             NVARCHAR(50)  NULL,
    Branch_PostalCode       NVARCHAR(20)  NULL,
    Branch_Region           NVARCHAR(50)  NULL,
    Branch_Country          NVARCHAR(2)   NULL,
    Branch_Company          NVARCHAR(38)  NULL CONSTRAINT FK_BranchRecord_Company REFERENCES dbo.CompanyRecord (Id),
    InvoiceDocumentType     NVARCHAR(2)   NULL,
    CreditNoteDocumentType  NVARCHAR(2)   NULL,
    InvoiceSerieTemplate    NVARCHAR(50)  NULL,
    CreditNoteSerieTemplate NVARCHAR(50)  NULL,
    TaxCountryRegion        NVARCHAR(5)   NULL
);
GO

CREATE TABLE dbo.Series (
    Id                    NVARCHAR(38)  NOT NULL CONSTRAINT PK_Series PRIMARY KEY,
    Serie_Code            NVARCHAR(50)  NOT NULL CONSTRAINT UQ_Series_Code UNIQUE,
    Serie_Validation_Code NVARCHAR(50)  NULL,
    Serie_LastNumber      INT           NULL,
    Serie_Closed          BIT           NOT NULL CONSTRAINT DF_Series_Closed DEFAULT 0,
    Serie_LastDate        DATETIME      NULL,
    Serie_LastHash        NVARCHAR(200) NULL,
    Serie_LastBranch_Code NVARCHAR(20)  NULL,
    Serie_LastTill_Code   NVARCHAR(20)  NULL
);
GO

-- Validation codes are unique once given; a series waiting for its code holds NULL.
CREATE UNIQUE INDEX UQ_Series_Validation_Code ON dbo.Series (Serie_Validation_Code)
    WHERE Serie_Validation_Code IS NOT NULL;
GO

CREATE TABLE dbo.Receipts (
    Id                        BIGINT IDENTITY(1, 1) NOT NULL CONSTRAINT PK_Receipts PRIMARY KEY,
    ReceiptDateTime           DATETIME      NOT NULL,
    ReceiptNumber             NVARCHAR(60)  NOT NULL,
    Serie                     NVARCHAR(50)  NULL,
    Number                    INT           NOT NULL,
    Status                    NVARCHAR(1)   NOT NULL,
    SystemEntryDateTime       DATETIME      NULL,
    LastReceiptStatusOperator NVARCHAR(30)  NULL,
    LastStatusDateTime        DATETIME      NULL,
    DocumentType              NVARCHAR(2)   NOT NULL,
    SourceBilling             NVARCHAR(1)   NULL,
    ManualDocumentNumber      NVARCHAR(60)  NULL,
    FiscalId                  NVARCHAR(70)  NULL,
    Hash                      NVARCHAR(200) NULL,
    Receipt                   NVARCHAR(MAX) NOT NULL
);
GO

CREATE INDEX IX_Receipts_ReceiptDateTime ON dbo.Receipts (ReceiptDateTime);
CREATE INDEX IX_Receipts_Number ON dbo.Receipts (Number, ReceiptDateTime);
GO
