// Helpers for the program's environment, text and numbers, SQL and XML literals.
#include "uTK_Base.h"

#include "Environment.h"
#include "Exception.h"
#include "IniFile.h"

#include <QLocale>

QString GetWindowsDir() { return Environment::WindowsDir(); }
QString GetExeDir() { return Environment::ExeDir(); }
QString GetExeBaseName() { return Environment::ExeBaseName(); }
QString GetComputerNameEnv() { return Environment::ComputerName(); }
QString GetUserNameEnv() { return Environment::UserName(); }
QString GetLocalIP() { return Environment::LocalIP(); }

QString GetIniFileName(bool aPlain)
{
    QString name = GetExeBaseName();
    if (!aPlain)
        name += u'_' + GetComputerNameEnv();
    return name + QStringLiteral(".ini");
}

QString FindSwitch(const QString& aSwitch, bool aWholeParameter)
{
    const QString sw = aSwitch.toLower();
    const auto parameters = Environment::CommandLine();
    for (const QString& p : parameters) {
        const QString lower = p.toLower();
        bool match = lower == sw
                     || (lower.startsWith(sw)
                         && (lower.mid(sw.size(), 1) == u":" || lower.mid(sw.size(), 1) == u"="));
        if (match)
            return aWholeParameter ? p : p.mid(aSwitch.size() + 1);
    }
    return {};
}

QString GetSwitchValue(const QString& aSwitch)
{
    return FindSwitch(aSwitch, false);
}

QString GetEnvironmentName(const QString& aIniFileName)
{
    QString name = GetToken(GetSwitchValue(QStringLiteral("/ENV")), 1, u'|');
    if (!name.isEmpty())
        return name;
    static const QStringList kGeneral = {QStringLiteral("[velmora]"), QStringLiteral("[tessaron]"),
                                         QStringLiteral("[parametri generali]")};
    const auto lines = ReadTextFile(aIniFileName).split(u'\n');
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']') && !kGeneral.contains(line, Qt::CaseInsensitive))
            return line.mid(1, line.size() - 2);
    }
    return {};
}

int ShellExec(const QString& aFile, const QString& aVerb, const QString& aParameters)
{
    return Environment::ShellExecute(aFile, aVerb, aParameters);
}

QString GetToken(const QString& aText, int aIndex, QChar aSeparator, bool aToEnd)
{
    if (aIndex < 1)
        return {};
    qsizetype start = 0;
    for (int field = 1; field < aIndex; ++field) {
        qsizetype sep = aText.indexOf(aSeparator, start);
        if (sep < 0)
            return {};
        start = sep + 1;
    }
    if (aToEnd)
        return aText.mid(start);
    qsizetype end = aText.indexOf(aSeparator, start);
    return aText.mid(start, end < 0 ? -1 : end - start);
}

namespace {
// Steps 2 to 4 of the zero-padded format, from the fixed-point text of step 1.
QString PadFixedText(QString aFixed, bool aNegative, int aWidth, const QString& aDecimalSeparator,
                     bool aWithSign)
{
    aFixed = aFixed.rightJustified(aWidth + 1, u' ');
    aFixed.replace(u'.', aDecimalSeparator);
    QString s = QString(aWidth, u'0') + aFixed.trimmed();
    s = s.right(aWidth);
    if (aWithSign && !s.isEmpty())
        s[0] = aNegative ? u'-' : u'+';
    return s;
}
}

QString FormatZeroPadded(double aValue, int aWidth, int aDecimals, const QString& aDecimalSeparator,
                         bool aWithSign)
{
    return PadFixedText(QString::number(aValue, 'f', aDecimals), aValue < 0, aWidth, aDecimalSeparator,
                        aWithSign);
}

QString FormatZeroPadded(Currency aValue, int aWidth, int aDecimals, const QString& aDecimalSeparator,
                         bool aWithSign)
{
    QString fixed = aValue.ToFixed(std::min(aDecimals, 4));
    if (aDecimals > 4)
        fixed += QString(aDecimals - 4, u'0');
    return PadFixedText(fixed, aValue < Currency(), aWidth, aDecimalSeparator, aWithSign);
}

bool IsNumeric(const QString& aText)
{
    const QString t = aText.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    QLocale::system().toDouble(t, &ok);
    if (!ok)
        QLocale::c().toDouble(t, &ok);
    return ok;
}

QVariant VarNvl(const QVariant& aValue, const QVariant& aDefault)
{
    return (aValue.isValid() && aValue.isNull()) ? aDefault : aValue;
}

QString GTINCheckDigit(const QString& aDigits)
{
    if (!IsNumeric(aDigits))
        throw Exception(QStringLiteral("To calculate a GTIN Check Digit input string must be numeric [%1]")
                            .arg(aDigits));
    static const QString kWeights = QStringLiteral("13131313131313");
    bool digitsOnly = aDigits.size() <= kWeights.size();
    for (QChar c : aDigits)
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    if (!digitsOnly)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(aDigits));
    const QString weights = kWeights.right(aDigits.size());
    int sum = 0;
    for (qsizetype i = 0; i < aDigits.size(); ++i)
        sum += (aDigits[i].unicode() - u'0') * (weights[i].unicode() - u'0');
    return QString::number((10 - sum % 10) % 10);
}

Currency RoundCurr2(Currency aValue)
{
    int64_t raw = aValue.Raw();
    int64_t cents = raw / 100;
    int64_t rest = raw % 100;
    if (rest >= 50)
        ++cents;
    else if (rest <= -50)
        --cents;
    return Currency::FromRaw(cents * 100);
}

int TimeOfDayMs(TDateTime aValue)
{
    int h, n, s, z;
    aValue.DecodeTime(h, n, s, z);
    return (h * 3600 + n * 60 + s) * 1000 + z;
}

QString SqlStr(const QString& aText)
{
    QString s = aText;
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

QString SqlDate(TDateTime aValue)
{
    return u'\'' + aValue.Format(QStringLiteral("yyyyMMdd")) + u'\'';
}

QString SqlDateTime(TDateTime aValue)
{
    return u'\'' + aValue.Format(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz")) + u'\'';
}

QString SqlCurr(Currency aValue) { return aValue.ToString(); }
QString SqlInt(qint64 aValue) { return QString::number(aValue); }

QString XmlDateTime(bool aWithMilliseconds, TDateTime aValue)
{
    return aValue.Format(aWithMilliseconds ? QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz")
                                           : QStringLiteral("yyyy-MM-ddThh:mm:ss"));
}

QString ShortDateText(TDateTime aDate)
{
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return aDate.Format(QStringLiteral("dd/MM/yyyy"));   // the shops' own day-month-year form
    return locale.toString(aDate.Date(), QLocale::ShortFormat);
}

QString XmlCurr(Currency aValue) { return aValue.ToString(); }
QString XmlBool(bool aValue) { return aValue ? QStringLiteral("True") : QStringLiteral("False"); }

TDateTime XmlToDateTime(const QString& aText)
{
    auto field = [&](int aFrom, int aLength, bool& aOk) {
        QString part = aText.mid(aFrom - 1, aLength);
        bool ok = !part.isEmpty();
        for (QChar c : part)
            ok = ok && c >= u'0' && c <= u'9';
        aOk = aOk && ok;
        return ok ? part.toInt() : 0;
    };
    bool ok = true;
    int year = field(1, 4, ok), month = field(6, 2, ok), day = field(9, 2, ok);
    int hour = field(12, 2, ok), minute = field(15, 2, ok), second = field(18, 2, ok);
    bool msOk = true;
    int msec = field(21, 3, msOk);
    TDateTime result;
    if (!ok || !TDateTime::TryEncodeDateTime(year, month, day, hour, minute, second, msOk ? msec : 0, result))
        throw Exception(QStringLiteral("DateTime Format invalid: [%1]").arg(aText));
    return result;
}
