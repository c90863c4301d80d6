// The printf-style formatter behind message texts.
#include "uTK_Base.h"

#include "Exception.h"

#include <QLocale>

namespace {

bool IsInteger(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool IsFloat(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float
           || v.metaType() == QMetaType::fromType<Currency>();
}

double FloatOf(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>() ? v.value<Currency>().ToDouble() : v.toDouble();
}

class Formatter
{
public:
    Formatter(const QString& aFormat, const QVariantList& aValues) : fFormat(aFormat), fValues(aValues) {}

    QString Run()
    {
        QString out;
        for (qsizetype i = 0; i < fFormat.size();) {
            if (fFormat[i] != u'%') {
                out += fFormat[i++];
                continue;
            }
            ++i;
            if (i < fFormat.size() && fFormat[i] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            out += Spec(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw Exception(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fFormat));
    }

    const QVariant& Next()
    {
        if (fNext >= fValues.size())
            throw Exception(QStringLiteral("No argument for format '%1'").arg(fFormat));
        return fValues[fNext++];
    }

    // A number written in the format, or "*" taking it from the values; -1 when absent.
    int Number(qsizetype& i)
    {
        if (i < fFormat.size() && fFormat[i] == u'*') {
            ++i;
            const QVariant& v = Next();
            if (!IsInteger(v)) Invalid();
            return v.toInt();
        }
        int n = -1;
        while (i < fFormat.size() && fFormat[i].isDigit())
            n = (n < 0 ? 0 : n * 10) + (fFormat[i++].unicode() - u'0');
        return n;
    }

    QString Spec(qsizetype& i)
    {
        int first = Number(i);
        if (i < fFormat.size() && fFormat[i] == u':') {
            ++i;
            if (first < 0) first = 0;
            fNext = first;
            first = -1;
        }
        bool left = false;
        if (first < 0 && i < fFormat.size() && fFormat[i] == u'-') {
            left = true;
            ++i;
        }
        int width = first >= 0 ? first : Number(i);
        int precision = -1;
        if (i < fFormat.size() && fFormat[i] == u'.') {
            ++i;
            precision = Number(i);
            if (precision < 0) precision = 0;
        }
        if (i >= fFormat.size()) Invalid();
        const QChar type = fFormat[i++].toLower();
        const QVariant& v = Next();
        QString text;
        switch (type.unicode()) {
        case u'd': {
            if (!IsInteger(v)) Invalid();
            qlonglong n = v.toLongLong();
            QString digits = QString::number(n < 0 ? -n : n);
            if (precision > digits.size()) digits = digits.rightJustified(precision, u'0');
            text = n < 0 ? u'-' + digits : digits;
            break;
        }
        case u'u':
            if (!IsInteger(v)) Invalid();
            text = QString::number(v.toULongLong());
            break;
        case u'x':
            if (!IsInteger(v)) Invalid();
            text = QString::number(v.toULongLong(), 16).toUpper();
            if (precision > text.size()) text = text.rightJustified(precision, u'0');
            break;
        case u's':
            if (v.typeId() != QMetaType::QString && v.typeId() != QMetaType::QChar) Invalid();
            text = v.toString();
            if (precision >= 0) text = text.left(precision);
            break;
        case u'f':
            if (!IsFloat(v)) Invalid();
            text = QString::number(FloatOf(v), 'f', precision < 0 ? 2 : precision);
            break;
        case u'e':
            if (!IsFloat(v)) Invalid();
            text = QString::number(FloatOf(v), 'E', precision < 0 ? 14 : std::max(0, precision - 1));
            break;
        case u'g':
            if (!IsFloat(v)) Invalid();
            text = QString::number(FloatOf(v), 'g', precision < 0 ? 15 : precision);
            break;
        case u'n': case u'm': {
            if (!IsFloat(v)) Invalid();
            QLocale locale;
            text = locale.toString(FloatOf(v), 'f', precision < 0 ? 2 : precision);
            if (type == u'm') text = locale.toCurrencyString(FloatOf(v), {}, precision < 0 ? 2 : precision);
            break;
        }
        default:
            Invalid();
        }
        if (width > text.size())
            text = left ? text.leftJustified(width, u' ') : text.rightJustified(width, u' ');
        return text;
    }

    const QString& fFormat;
    const QVariantList& fValues;
    qsizetype fNext = 0;
};

}

QString FormatText(const QString& aFormat, const QVariantList& aValues)
{
    return Formatter(aFormat, aValues).Run();
}
