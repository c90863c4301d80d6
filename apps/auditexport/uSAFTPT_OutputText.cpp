#include "uSAFTPT_OutputText.h"

#include "Cp1252.h"
#include "Exception.h"

#include <QSaveFile>

void SaveOutputText(const QString& aFileName, const QString& aText)
{
    QSaveFile file(aFileName);
    QByteArray bytes = Cp1252::Encode(aText);
    if (!bytes.isEmpty())
        bytes += "\r\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Unable to write the file \"%1\": %2").arg(aFileName, file.errorString()));
}
