#pragma once

// Text form of the audit file's XML document.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <pugixml.hpp>

// Walks the document and hands out its text line by line in UTF-8, without line ends: the declaration naming
// windows-1252 first, then every element on a line of its own, indented two spaces a level; an element
// holding only text stays on one line, an empty one is written self-closing.
void WriteIndentedXml(const pugi::xml_document& aDocument, const std::function<void(const QByteArray&)>& aLine);

// Rewrites every self-closing tag as a start tag followed by an end tag. On each line the rewritten part
// runs from the line's first "<" to its last "/>", as the indented text has one empty tag on such a line.
QString ExpandEmptyElements(const QString& aText);
