#pragma once

#include "Currency.h"
#include "Exception.h"
#include "uTkReceipt.h"

#include <QString>
#include <memory>
#include <ostream>

#include "TestSupport.h"

// Readable values in test failures.
inline void PrintTo(const Currency& aValue, std::ostream* aStream) { *aStream << aValue.ToString().toStdString(); }

// Money from its decimal text.
inline Currency Money(const char* aText) { return Currency::Parse(QString::fromLatin1(aText)); }

// A fixture of tests/fixtures/receipt as text.
QString ReceiptFixture(const QString& aName);
// A parsed document; a text that is not well-formed raises.
std::unique_ptr<pugi::xml_document> ParseDocument(const QString& aXml);
// A receipt read from aXml, supporting special characters as the export does.
std::unique_ptr<kReceipt> ReadReceipt(const QString& aXml);
// A receipt document made of the given elements inside Receipt, with empty Lines, Taxes and Payments
// unless aBody names them.
QString ReceiptXml(const QString& aBody);

