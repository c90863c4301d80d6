// Version information and the setup store.
#include "uTK_Base.h"

namespace {
constexpr int kFirstVersionId = 10000;
constexpr int kMaxMissingIds = 10;
}

QString tTK_ApplicationInfo::VersionString() const
{
    return u'[' + fVersion + QStringLiteral(" - ") + ShortDateText(fReleaseDate) + u']';
}

void tTK_ApplicationInfo::Load(const TStringTable& aTable)
{
    tTK_ApplicationHistory* current = nullptr;
    int missing = 0;
    for (int id = kFirstVersionId; missing <= kMaxMissingIds; ++id) {
        if (auto line = aTable.Find(id)) {
            ParseLine(*line, current);
            missing = 0;
        } else {
            ++missing;
        }
    }
}

void tTK_ApplicationInfo::ParseLine(const QString& aLine, tTK_ApplicationHistory*& aCurrent)
{
    qsizetype eq = aLine.indexOf(u'=');
    if (eq < 0)
        return;
    const QString key = aLine.left(eq).toUpper();
    const QString value = aLine.mid(eq + 1);
    if (key == u"$APPDESCRIPTION") {
        fDescription = value;
    } else if (key == u"$COPYRIGHT") {
        fCopyright = value;
    } else if (key == u"$VERSION") {
        fVersion = value;
        fHistory.push_back(std::make_unique<tTK_ApplicationHistory>());
        aCurrent = fHistory.back().get();
        aCurrent->SetVersion(value);
    } else if (!aCurrent) {
        return;   // history keys before the first version have nothing to belong to
    } else if (key == u"$RELEASEDATE") {
        auto part = [&](int aFrom, int aLength) {
            bool ok = false;
            int n = value.mid(aFrom, aLength).toInt(&ok);
            return ok ? n : 1;
        };
        fReleaseDate = TDateTime::EncodeDate(part(6, 4), part(3, 2), part(0, 2));
        aCurrent->SetReleaseDate(fReleaseDate);
    } else if (key == u"$AUTHOR") {
        aCurrent->SetAuthor(value);
    } else if (key == u"$PTEXT" || key == u"$TEXT") {
        aCurrent->AddText(value);
    }
}

tTK_SetupEntry* tTK_Setup::Find(const QString& aName) const
{
    const QString name = aName.toLower();
    for (const auto& entry : fList)
        if (entry->Name().toLower() == name)
            return entry.get();
    return nullptr;
}

void tTK_Setup::SetValue(const QString& aName, const QVariant& aValue)
{
    if (tTK_SetupEntry* entry = Find(aName))
        entry->SetValue(aValue);
    else
        fList.push_back(std::make_unique<tTK_SetupEntry>(aName, aValue));
}

QVariant tTK_Setup::GetValue(const QString& aName) const
{
    const tTK_SetupEntry* entry = Find(aName);
    return entry ? entry->Value() : QVariant();
}
