#include "ProxyFixture.h"

#include "Cp1252.h"
#include "DbValues.h"

namespace {

const QString kCatalogueColumns =
    QStringLiteral("ecvar varchar(30), ectip char(1), eclen int, ecnde int, annullato char(1) null");

enum TListed { kCurrent, kOlder, kNowhere };

// A variable as the catalogues list it, and its value for the user of the tests.
struct TVariable
{
    QString name;
    TListed listed;   // elcfg01f, elcfg00f only, neither
    QString type;
    int length;
    int decimals;
    QVariant value;   // null: the function has no value for the user
};

const QString kUser = QStringLiteral("luigi");
const QByteArray kMailPassword = Cp1252::Encode(QStringLiteral("P\u00E4sswort"));

const std::vector<TVariable>& Variables()
{
    static const std::vector<TVariable> kVariables{
        {"cfg_modconcas", kCurrent, "C", 1, 0, "S"},
        {"cfg_olddate", kOlder, "D", 8, 0, "20240131"},
        {"cfg_amount", kCurrent, "N", 5, 2, "04250"},
        {"cfg_wide", kCurrent, "N", 7, 2, "0001250"},
        {"cfg_count", kCurrent, "N", 3, 0, "-12"},
        {"cfg_since", kCurrent, "D", 8, 0, "19991231"},
        {"cfg_badamount", kCurrent, "N", 5, 2, "04a50"},
        {"cfg_baddate", kCurrent, "D", 8, 0, "20241301"},
        {"cfg_textdate", kCurrent, "D", 8, 0, "2024Jan1"},
        {"cfg_unset", kCurrent, "C", 10, 0, QVariant()},
        {"cfg_smtppt", kCurrent, "C", 5, 0, QVariant()},
        {"cfg_smtppw", kCurrent, "C", 48, 0, QString::fromLatin1(tTK_MercaltoProxy::CiphersText(kMailPassword))},
        {"cfg_paraddgpcsh", kCurrent, "C", 100, 0, "PRINTER=A1;Mode=2"},
        {"cfg_nothere", kNowhere, "C", 1, 0, QVariant()},
    };
    return kVariables;
}

const TVariable& Variable(const QString& aName)
{
    for (const TVariable& v : Variables())
        if (aName == v.name)
            return v;
    throw std::logic_error("no such test variable");
}

QString CatalogueQuery(const QString& aCatalogue, const QString& aName)
{
    return QStringLiteral("select * from %1 where ecvar='%2' and isnull(annullato,'')<>'S' ").arg(aCatalogue, aName);
}

// A value with its type, for comparing and printing.
QString Shown(const QVariant& aValue)
{
    return QString::fromLatin1(aValue.typeName()) + u' ' + DbValues::ToString(aValue);
}

// The two catalogues, the values of the user (and a value of another user), and the function that
// answers them; elcfg01f also lists a deleted row of the variable only elcfg00f holds.
class ConfigTest : public ProxyTest
{
protected:
    void SetUp() override
    {
        ProxyTest::SetUp();
        if (IsSkipped())
            return;
        QStringList current, older, values;
        for (const TVariable& v : Variables()) {
            const QString row =
                QStringLiteral("'%1','%2',%3,%4,null").arg(v.name, v.type).arg(v.length).arg(v.decimals);
            if (v.listed != kNowhere)
                (v.listed == kCurrent ? current : older) << row;
            if (!v.value.isNull())
                values << QStringLiteral("'%1','%2','%3'").arg(kUser, v.name, v.value.toString());
        }
        current << "'cfg_olddate','C',8,0,'S'";
        values << "'mario','cfg_unset','other user'";
        fServer.Table("elcfg01f", kCatalogueColumns, current);
        fServer.Table("elcfg00f", kCatalogueColumns, older);
        fServer.Table("cfgval00f", "cvusr varchar(30), cvvar varchar(30), cvval varchar(200) null", values);
        fServer.Function("dbo.fn_Cfg", "(@user varchar(30), @unused varchar(30), @var varchar(30)) "
                                       "returns varchar(200) as begin "
                                       "return (select cvval from cfgval00f where cvusr=@user and cvvar=@var) end");
        ConnectProxy();
        fProxy.SetUser(kUser);
    }

    // The statements that read the variable aName, which the user's value aValue answers.
    void ExpectRead(const QString& aName, const QVariant& aValue)
    {
        const TVariable& v = Variable(aName);
        const QStringList columns{"ecvar", "ectip", "eclen", "ecnde", "annullato"};
        const TScriptedRows listed{columns, {{aName, v.type, v.length, v.decimals, QVariant()}}};
        const TScriptedRows none{columns, {}};
        fServer.Expect(CatalogueQuery("elcfg01f", aName), v.listed == kCurrent ? listed : none);
        if (v.listed != kCurrent)
            fServer.Expect(CatalogueQuery("elcfg00f", aName), v.listed == kOlder ? listed : none);
        if (v.listed != kNowhere)
            fServer.Expect(QStringLiteral("select dbo.fn_Cfg('luigi','','%1') as Value").arg(aName),
                           {{"Value"}, {{aValue}}});
    }
    void ExpectRead(const QString& aName) { ExpectRead(aName, Variable(aName).value); }

    void SetValue(const QString& aName, const QString& aValueLiteral)
    {
        fServer.Setup(QStringLiteral("update cfgval00f set cvval=%1 where cvusr='luigi' and cvvar='%2'")
                          .arg(aValueLiteral, aName));
    }
};

}

TEST_P(ConfigTest, OneEntryServesEverySpellingOfAName)
{
    ExpectRead("cfg_modconcas");
    EXPECT_EQ(fProxy.GetConfiVar("Cfg_ModConCas", false), QVariant("S"));
    EXPECT_EQ(fProxy.GetConfiVar("cfg_modconcas", false), QVariant("S"));   // from the entry, no statement

    SetValue("cfg_modconcas", "'N'");
    ExpectRead("cfg_modconcas", "N");
    EXPECT_EQ(fProxy.GetConfiVar("CFG_MODCONCAS", true), QVariant("N"));

    // A value gone for the user leaves the one read before.
    SetValue("cfg_modconcas", "null");
    ExpectRead("cfg_modconcas", QVariant());
    EXPECT_EQ(fProxy.GetConfiVar("cfg_modconcas", true), QVariant("N"));
}

TEST_P(ConfigTest, AVariableListedOnlyInTheOlderCatalogueIsReadFromIt)
{
    ExpectRead("cfg_olddate");
    EXPECT_EQ(Shown(fProxy.GetConfiVar("Cfg_OldDate", false)),
              Shown(QVariant::fromValue(TDateTime::EncodeDate(2024, 1, 31))));
}

TEST_P(ConfigTest, AVariableInNeitherCatalogueFailsAndStaysCachedEmpty)
{
    const char* const kError = "cfg_nothere not found in ELCFG01F nor in ELCFG00F.";
    ExpectRead("cfg_nothere");
    EXPECT_EQ(ErrorOf([&] { fProxy.GetConfiVar("Cfg_NotHere", false); }), kError);
    EXPECT_EQ(fProxy.GetConfiVar("cfg_nothere", false), QVariant(QString()));
    ExpectRead("cfg_nothere");
    EXPECT_EQ(ErrorOf([&] { fProxy.GetConfiVar("cfg_nothere", true); }), kError);
}

TEST_P(ConfigTest, ValuesAreReadByTheTypeAndWidthOfTheCatalogue)
{
    struct Case { const char* name; QVariant value; const char* error; };
    const Case cases[] = {
        {"cfg_amount", QVariant::fromValue(Currency::Parse(u"42.50")), nullptr},
        {"cfg_wide", QVariant::fromValue(Currency::Parse(u"12.50")), nullptr},
        {"cfg_count", QVariant::fromValue(Currency(-12)), nullptr},
        {"cfg_since", QVariant::fromValue(TDateTime::EncodeDate(1999, 12, 31)), nullptr},
        {"cfg_unset", QString(), nullptr},
        {"cfg_badamount", {}, "'04a.50' is not a valid floating point value"},
        {"cfg_baddate", {}, "Invalid argument to date encode"},
        {"cfg_textdate", {}, "'Ja' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        ExpectRead(c.name);
        if (c.error) {
            EXPECT_EQ(ErrorOf([&] { fProxy.GetConfiVar(c.name, false); }), c.error) << c.name;
        } else {
            EXPECT_EQ(Shown(fProxy.GetConfiVar(c.name, false)), Shown(c.value)) << c.name;
        }
    }
}

TEST_P(ConfigTest, TheMailPasswordIsDecipheredAndThePortDefaults)
{
    ExpectRead("cfg_smtppw");
    EXPECT_EQ(fProxy.GetConfiVar("Cfg_SmtpPw", false), QVariant(Cp1252::Decode(kMailPassword)));
    ExpectRead("cfg_smtppt");
    EXPECT_EQ(fProxy.GetConfiVar("Cfg_SmtpPt", false), QVariant("25"));

    fServer.Setup("insert cfgval00f values ('luigi','cfg_smtppt','587')");
    ExpectRead("cfg_smtppt", "587");
    EXPECT_EQ(fProxy.GetConfiVar("cfg_smtppt", true), QVariant("587"));
}

TEST_P(ConfigTest, AdditionalParametersComeFromOneVariableReadOnce)
{
    ExpectRead("cfg_paraddgpcsh");
    EXPECT_EQ(fProxy.GetAdditionalParams(), (QStringList{"PRINTER=A1", "Mode=2"}));
    EXPECT_EQ(fProxy.GetAdditionalParam("mode"), "2");
    EXPECT_EQ(fProxy.GetAdditionalParam("Printer"), "A1");
    EXPECT_EQ(fProxy.GetAdditionalParam("Port"), "");
}

RUN_ON_BOTH_SERVERS(ConfigTest);

TEST(ConfigCipher, WritesThreeDigitsPerEncipheredByteAndReadsThemBack)
{
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += char(b);
    struct Case { QByteArray text; int digits; };
    const Case cases[] = {{"", 0}, {"abc", 24}, {"1234567", 24}, {"12345678", 48}, {everyByte, 3 * 264}};
    for (const Case& c : cases) {
        const QByteArray digits = tTK_MercaltoProxy::CiphersText(c.text);
        EXPECT_EQ(digits.size(), c.digits) << c.text.toStdString();
        EXPECT_TRUE(std::all_of(digits.begin(), digits.end(), [](char d) { return d >= '0' && d <= '9'; }));
        EXPECT_EQ(tTK_MercaltoProxy::DeCiphersText(digits), c.text);
    }
    // Digits past the last group of three are ignored.
    EXPECT_EQ(tTK_MercaltoProxy::DeCiphersText(tTK_MercaltoProxy::CiphersText("abc") + "12"), "abc");
}

TEST(ConfigCipher, KeepsTheKeyOfTheValuesAlreadyStored)
{
    // Passwords enciphered by the installed programs must keep deciphering.
    EXPECT_EQ(tTK_MercaltoProxy::CiphersText("secret"), "108254108006169018232094");
}

TEST(ConfigCipher, DamagedDigitsRaiseTheirError)
{
    const QByteArray valid = tTK_MercaltoProxy::CiphersText("secret");
    struct Case { QByteArray digits; const char* error; };
    const Case cases[] = {
        {"12", "Ciphertext is not a multiple of 8 bytes."},
        {valid.left(21), "Ciphertext is not a multiple of 8 bytes."},
        {"0a1" + valid.mid(3), "'0a1' is not a valid integer value"},
        {valid.left(21) + "256", "'256' is not a valid byte value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { tTK_MercaltoProxy::DeCiphersText(c.digits); }), c.error) << c.digits.toStdString();
}
