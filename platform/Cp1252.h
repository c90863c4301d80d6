#pragma once

#include <QByteArray>
#include <QString>

// The Windows western code page, both ways.
namespace Cp1252 {
// Characters the code page lacks become "?".
QByteArray Encode(const QString& aText);
// Every byte maps to a character; the five unassigned bytes map to the control characters of their value.
QString Decode(const QByteArray& aBytes);
// True when every character of the text has a place in the code page.
bool CanEncode(const QString& aText);
}
