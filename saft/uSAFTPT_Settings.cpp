#include "uSAFTPT_Settings.h"

#include "IniFile.h"

#include <QFileInfo>

tkAuditExportSettings::tkAuditExportSettings()
{
    if (!QFileInfo(FileName).isFile())
        return;
    fExists = true;
    const auto lines = ReadTextFile(FileName).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        QString key = line.left(eq).toLower();
        if (!fValues.contains(key))
            fValues.insert(key, line.mid(eq + 1));
    }
}
