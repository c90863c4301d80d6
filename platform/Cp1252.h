#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The Windows western code page, both ways.
namespace Cp1252 {
// Characters the code page lacks become "?".
QByteArray Encode(const QString& aText);
// The same from UTF-8 text, without a detour through UTF-16; a malformed sequence becomes "?".
QByteArray EncodeUtf8(QByteArrayView aUtf8);
// Every byte maps to a character; the five unassigned bytes map to the control characters of their value.
QString Decode(const QByteArray& aBytes);
// True when every character of the text has a place in the code page.
bool CanEncode(const QString& aText);
}
