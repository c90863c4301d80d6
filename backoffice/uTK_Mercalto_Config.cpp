// Configuration variables of the back-office database, and the cipher of the values kept secret.
#include "uTK_Mercalto.h"

#include "Cp1252.h"
#include "DbValues.h"
#include "Exception.h"
#include "uTK_Base.h"
#include "uTK_BlockCiphers.h"

#include <algorithm>

namespace {

const QString kSmtpPassword = QStringLiteral("cfg_smtppw");
const QString kSmtpPort = QStringLiteral("cfg_smtppt");

// Every program that shares enciphered configuration values must build this same key. It is put
// together at run time so that the program file holds it in no single piece.
TDESCipher ConfigCipher()
{
    constexpr uint32_t kKeyLow = 0x6C3A91E5;
    constexpr uint32_t kKeyHigh = 0x1F7D48B2;
    uint8_t key[8];
    for (int i = 0; i < 4; ++i) {
        key[i] = uint8_t(kKeyLow >> (8 * i));
        key[4 + i] = uint8_t(kKeyHigh >> (8 * i));
    }
    return TDESCipher(key, sizeof key);
}

// Decimal digits and nothing else, as the stored values are written.
int DigitsValue(const QString& aText)
{
    const bool digits =
        !aText.isEmpty() && std::all_of(aText.begin(), aText.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(aText));
    return aText.toInt();
}

// The first row of the variable in elcfg01f, else in elcfg00f.
std::unique_ptr<tTK_MercaltoDataset> CatalogueRow(tTK_MercaltoProxy& aProxy, const QString& aName)
{
    for (const QString& catalogue : {QStringLiteral("elcfg01f"), QStringLiteral("elcfg00f")}) {
        auto row = aProxy.CreateDataset(QStringLiteral("select * from ") + catalogue + QStringLiteral(" where ecvar=")
                                        + SqlStr(aName) + QStringLiteral(" and isnull(annullato,'')<>'S' "));
        if (!row->Eof())
            return row;
    }
    throw Exception(aName + QStringLiteral(" not found in ELCFG01F nor in ELCFG00F."));
}

// The value text holds aLength characters, the last aDecimals of them after an implied point.
Currency NumberValue(const QString& aText, int aLength, int aDecimals)
{
    const int whole = std::max(aLength - aDecimals, 0);
    return Currency::Parse(aText.left(whole) + u'.' + aText.mid(whole, std::max(aDecimals, 0)));
}

// yyyymmdd
TDateTime DateValue(const QString& aText)
{
    const int year = DigitsValue(aText.mid(0, 4));
    const int month = DigitsValue(aText.mid(4, 2));
    const int day = DigitsValue(aText.mid(6, 2));
    return TDateTime::EncodeDate(year, month, day);
}

// Reads the type and the value of the variable for the proxy's user into aVar.
void ReadConfiVar(tTK_MercaltoProxy& aProxy, tTK_ConfiVar& aVar)
{
    const QString& name = aVar.Name();
    int length = 0;
    int decimals = 0;
    {
        const auto row = CatalogueRow(aProxy, name);
        const QString kind = row->FieldByName(QStringLiteral("ectip")).AsString();
        if (kind == u"C")
            aVar.SetValueType(cft_string);
        else if (kind == u"N")
            aVar.SetValueType(cft_number);
        else if (kind == u"D")
            aVar.SetValueType(cft_date);
        length = row->FieldByName(QStringLiteral("eclen")).AsInteger();
        decimals = row->FieldByName(QStringLiteral("ecnde")).AsInteger();
    }
    const auto value = aProxy.CreateDataset(QStringLiteral("select dbo.fn_Cfg(") + SqlStr(aProxy.User())
                                            + QStringLiteral(",'',") + SqlStr(name) + QStringLiteral(") as Value"));
    QString text = value->FieldByName(QStringLiteral("Value")).AsString();
    if (name == kSmtpPassword)
        text = Cp1252::Decode(tTK_MercaltoProxy::DeCiphersText(Cp1252::Encode(text)));
    if (text.isEmpty() && name == kSmtpPort)
        text = QStringLiteral("25");
    // No value for the user keeps what was read before.
    if (text.isEmpty())
        return;
    switch (aVar.ValueType()) {
    case cft_string:
        aVar.SetValueString(text);
        break;
    case cft_number:
        aVar.SetValueNumber(NumberValue(text, length, decimals));
        break;
    case cft_date:
        aVar.SetValueDate(DateValue(text));
        break;
    }
}

QVariant ConfiVarValue(const tTK_ConfiVar& aVar)
{
    switch (aVar.ValueType()) {
    case cft_number:
        return QVariant::fromValue(aVar.ValueNumber());
    case cft_date:
        return QVariant::fromValue(aVar.ValueDate());
    case cft_string:
        break;
    }
    return aVar.ValueString();
}

}

QVariant tTK_MercaltoProxy::GetConfiVar(const QString& aVarName, bool aRefreshValue)
{
    const QString name = aVarName.toLower();
    auto found = fConfiVars.find(name);
    if (found == fConfiVars.end()) {
        // Entered before reading: a variable missing from the catalogues is reported once, and
        // later requests answer empty without asking the server again.
        auto entry = std::make_unique<tTK_ConfiVar>();
        entry->SetName(name);
        found = fConfiVars.emplace(name, std::move(entry)).first;
        aRefreshValue = true;
    }
    tTK_ConfiVar& var = *found->second;
    if (aRefreshValue)
        ReadConfiVar(*this, var);
    return ConfiVarValue(var);
}

QStringList tTK_MercaltoProxy::GetAdditionalParams()
{
    return TextLines(DbValues::ToString(GetConfiVar(QStringLiteral("Cfg_ParAddGPCsh"), false)).replace(u';', u'\n'));
}

QString tTK_MercaltoProxy::GetAdditionalParam(const QString& aParamName)
{
    return LineValue(GetAdditionalParams(), aParamName);
}

QByteArray tTK_MercaltoProxy::CiphersText(const QByteArray& aString)
{
    if (aString.isEmpty())
        return {};
    const QByteArray cipher = ConfigCipher().EncryptedString(aString);
    QByteArray digits;
    digits.reserve(cipher.size() * 3);
    for (char byte : cipher)
        digits += QByteArray::number(uint8_t(byte)).rightJustified(3, '0');
    return digits;
}

QByteArray tTK_MercaltoProxy::DeCiphersText(const QByteArray& aString)
{
    if (aString.isEmpty())
        return {};
    QByteArray cipher;
    cipher.reserve(aString.size() / 3);
    for (qsizetype i = 0; i + 3 <= aString.size(); i += 3) {
        const QString group = QString::fromLatin1(aString.mid(i, 3));
        const int value = DigitsValue(group);
        // Three digits reach 999: a group above a byte is damage, never a value to wrap around.
        if (value > 255)
            throw Exception(QStringLiteral("'%1' is not a valid byte value").arg(group));
        cipher += char(value);
    }
    return ConfigCipher().DecryptedString(cipher);
}
