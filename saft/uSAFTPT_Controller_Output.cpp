// The document as text and as a file.
#include "uSAFTPT_Controller.h"

#include "Cp1252.h"
#include "Exception.h"
#include "uSAFTPT_XmlText.h"

#include <QSaveFile>

namespace {
constexpr qsizetype kFlushBytes = 1 << 20;
}

QString kSAFTPTController::Output() const
{
    if (!fXml)
        return {};
    QString text;
    WriteIndentedXml(*fXml, [&text](const QByteArray& aLine) {
        if (!text.isEmpty())
            text += QLatin1String("\r\n");
        text += QString::fromUtf8(aLine);
    });
    // The file is read in windows-1252: what it cannot hold shows as "?" already here.
    return Cp1252::Decode(Cp1252::Encode(text));
}

bool kSAFTPTController::SaveToFile(const QString& aFileName) const
{
    if (!fXml)
        throw Exception(QStringLiteral("There is no audit file to save: run the export first"));
    QSaveFile file(aFileName);
    auto fail = [&] {
        throw Exception(QStringLiteral("Unable to write the file \"%1\": %2").arg(aFileName, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    QByteArray buffer;
    buffer.reserve(kFlushBytes + 4096);
    WriteIndentedXml(*fXml, [&](const QByteArray& aLine) {
        // Empty tags are few: only their lines take the round through text.
        buffer += aLine.contains("/>") ? Cp1252::Encode(ExpandEmptyElements(QString::fromUtf8(aLine)))
                                       : Cp1252::EncodeUtf8(aLine);
        buffer += "\r\n";
        if (buffer.size() >= kFlushBytes) {
            if (file.write(buffer) != buffer.size())
                fail();
            buffer.clear();
        }
    });
    if (file.write(buffer) != buffer.size() || !file.commit())
        fail();
    return true;
}
