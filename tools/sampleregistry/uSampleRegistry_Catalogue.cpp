// The fixed master data of a sample registry: two companies, three stores, the VAT rates, the
// articles on the shelves and the regular customers.
#include "uSampleRegistry_Internal.h"

#include "Exception.h"

namespace {

Currency Euros(int aCents)
{
    return Currency::FromRaw(int64_t(aCents) * (Currency::Scale / 100));
}

}

QString kSampleCatalogue::TaxNumber(const QString& aEightDigits)
{
    int sum = 0;
    for (int i = 0; i < 8; ++i)
        sum += aEightDigits[i].digitValue() * (9 - i);
    const int rest = sum % 11;
    return aEightDigits + QString::number(rest < 2 ? 0 : 11 - rest);
}

const std::vector<tkSampleCompany>& kSampleCatalogue::Companies()
{
    static const std::vector<tkSampleCompany> companies = {
        {QStringLiteral("{8C5A2E31-6B0D-4F7A-9E21-3D4C5B6A7F01}"),
         QStringLiteral("01"),
         TaxNumber(QStringLiteral("51487320")),
         QStringLiteral("Mercearia Lusitana, S.A."),
         QStringLiteral("Mercearia Lusitana"),
         {QStringLiteral("Rua dos Fanqueiros, 120"), QStringLiteral("Lisboa"), QStringLiteral("1100-231"),
          QStringLiteral("Lisboa")}},
        // Its header shows an ampersand, and its address no region.
        {QStringLiteral("{0E7B9C42-1A3F-4D65-B8C7-2F9E0D1A3B02}"),
         QStringLiteral("02"),
         TaxNumber(QStringLiteral("50936218")),
         QStringLiteral("Sabores & Tradição do Algarve, Lda."),
         QStringLiteral("Sabores do Algarve"),
         {QStringLiteral("Avenida 5 de Outubro, 45"), QStringLiteral("Faro"), QStringLiteral("8000-076"), QString()}},
    };
    return companies;
}

const std::vector<tkSampleBranch>& kSampleCatalogue::Branches()
{
    static const std::vector<tkSampleBranch> branches = {
        {QStringLiteral("{5D1E7A90-3C2B-4E8F-A1D6-7B9C0E2F4A11}"),
         QStringLiteral("001"),
         QStringLiteral("Lusitana Baixa"),
         {QStringLiteral("Rua dos Fanqueiros, 120"), QStringLiteral("Lisboa"), QStringLiteral("1100-231"),
          QStringLiteral("Lisboa")},
         0,
         QStringLiteral("A"),
         3,
         {QStringLiteral("OP11"), QStringLiteral("OP12"), QStringLiteral("OP13")},
         QStringLiteral("SUP1"),
         5},
        {QStringLiteral("{A7F3C2D1-9E8B-4A6C-B5D4-1E2F3A4B5C12}"),
         QStringLiteral("002"),
         QStringLiteral("Lusitana Ribeira"),
         {QStringLiteral("Cais da Ribeira, 22"), QStringLiteral("Porto"), QStringLiteral("4050-509"),
          QStringLiteral("Porto")},
         0,
         QStringLiteral("B"),
         2,
         {QStringLiteral("OP21"), QStringLiteral("OP22")},
         QStringLiteral("SUP2"),
         3},
        {QStringLiteral("{3B9D5F71-2A4C-4E6B-8D0F-C1E3A5B7D913}"),
         QStringLiteral("003"),
         QStringLiteral("Sabores de Faro"),
         {QStringLiteral("Rua de Santo António, 8"), QStringLiteral("Faro"), QStringLiteral("8000-283"), QString()},
         1,
         QStringLiteral("C"),
         1,
         {QStringLiteral("OP31"), QStringLiteral("OP32")},
         QStringLiteral("SUP3"),
         2},
    };
    return branches;
}

const tkSampleTax& kSampleCatalogue::Tax(tkSampleTaxId aTax)
{
    static const tkSampleTax taxes[] = {
        {QStringLiteral("2300"), QStringLiteral("IVA 23%"), Currency(23)},
        {QStringLiteral("1300"), QStringLiteral("IVA 13%"), Currency(13)},
        {QStringLiteral("0600"), QStringLiteral("IVA 6%"), Currency(6)},
        // An exempt rate is coded by its exemption, and its text is the reason the audit file shows.
        {QStringLiteral("M07"), QStringLiteral("Isento artigo 9.º do CIVA"), Currency()},
    };
    return taxes[aTax];
}

const tkSampleArticle& kSampleCatalogue::Article(int aArticle)
{
    const QString none;
    static const tkSampleArticle articles[ar_Count] = {
        {none, QStringLiteral("Queijo da Serra"), none, Euros(2490), tx_Reduced, true, false, 0, QStringLiteral("03")},
        {QStringLiteral("5601234100017"), QStringLiteral("Detergente líquido 2L"), none, Euros(899), tx_Normal, false,
         false, 0, QStringLiteral("05")},
        {QStringLiteral("2000000000015"), QStringLiteral("Embrulho para oferta"), none, Euros(150), tx_Normal, false,
         true, 800, QStringLiteral("09")},
        {QStringLiteral("5601234100024"), QStringLiteral("Vinho tinto Douro DOC 75cl"), none, Euros(749),
         tx_Intermediate, false, false, 0, QStringLiteral("04")},
        {QStringLiteral("5601234100031"), QStringLiteral("Leite meio-gordo 1L"),
         QStringLiteral("Leite UHT meio gordo 1L"), Euros(89), tx_Reduced, false, false, 0, QStringLiteral("01")},
        {none, QStringLiteral("Pão de forma integral"), none, Euros(179), tx_Reduced, false, false, 0,
         QStringLiteral("02")},
        {QStringLiteral("SRV0007"), QStringLiteral("Workshop de cozinha tradicional"), none, Euros(3500), tx_Exempt,
         false, true, 0, QStringLiteral("09")},
        {QStringLiteral("5601234100048"), QStringLiteral("Chá verde Sencha 煎茶 50g"), none, Euros(449), tx_Reduced,
         false, false, 0, QStringLiteral("01")},
        {QStringLiteral("5601234100055"), QStringLiteral("Iogurte natural <0,5% gordura> 4x125g"), none, Euros(239),
         tx_Reduced, false, false, 0, QStringLiteral("01")},
        {QStringLiteral("SRV0001"), QStringLiteral("Entrega ao domicílio"), none, Euros(500), tx_Normal, false, true, 0,
         QStringLiteral("09")},
        {QStringLiteral("5601234100062"), QStringLiteral("Café moído 250g"), none, Euros(329), tx_Normal, false, false,
         0, QStringLiteral("01")},
        {QStringLiteral("5601234100079"), QStringLiteral("Azeite virgem extra 75cl"), none, Euros(699), tx_Reduced,
         false, false, 0, QStringLiteral("01")},
        {QStringLiteral("5601234100086"), QStringLiteral("Arroz carolino 1kg"), none, Euros(129), tx_Reduced, false,
         false, 0, QStringLiteral("01")},
        {QStringLiteral("2301001"), QStringLiteral("Bacalhau graúdo"), none, Euros(1299), tx_Reduced, true, false, 0,
         QStringLiteral("03")},
        {none, QStringLiteral("Maçã Gala"), none, Euros(179), tx_Reduced, true, false, 0, QStringLiteral("02")},
        {none, QStringLiteral("Pastel de nata & café"), none, Euros(190), tx_Intermediate, false, false, 0,
         QStringLiteral("06")},
        {QStringLiteral("5601234100093"), QStringLiteral("Água mineral 1,5L"), none, Euros(49), tx_Reduced, false,
         false, 0, QStringLiteral("04")},
        {QStringLiteral("5601234100109"), QStringLiteral("Cerveja Lager 6x33cl"), none, Euros(479), tx_Normal, false,
         false, 0, QStringLiteral("04")},
        {QStringLiteral("5601234100116"), QStringLiteral("Champô anticaspa 400ml"), none, Euros(549), tx_Normal, false,
         false, 0, QStringLiteral("05")},
        {QStringLiteral("5601234100123"), QStringLiteral("Pilhas alcalinas AA x4"), none, Euros(399), tx_Normal, false,
         false, 0, QStringLiteral("05")},
        {QStringLiteral("5601234100130"), QStringLiteral("Saco de papel"), none, Euros(10), tx_Normal, false, false,
         300, QStringLiteral("05")},
        {QStringLiteral("SRV0002"), QStringLiteral("Refeição do dia"), none, Euros(850), tx_Intermediate, false, true,
         0, QStringLiteral("06")},
        {QStringLiteral("5601234100147"), QStringLiteral("Sardinhas em azeite 120g"), none, Euros(219), tx_Reduced,
         false, false, 0, QStringLiteral("01")},
        {none, QStringLiteral("Tomate chucha"), none, Euros(229), tx_Reduced, true, false, 0, QStringLiteral("02")},
    };
    if (aArticle < 0 || aArticle >= ar_Count)
        throw Exception(QStringLiteral("No sample article %1").arg(aArticle));
    return articles[aArticle];
}

const std::vector<tkSampleCustomer>& kSampleCatalogue::Customers()
{
    const QString consumer = QStringLiteral("999999990");
    static const std::vector<tkSampleCustomer> customers = {
        {ck_Consumer, QString(), consumer, QStringLiteral("CONSUMIDOR FINAL"), QString(), QString(), QString(),
         QStringLiteral("PT")},
        {ck_TaxNumber, QStringLiteral("CL0001"), TaxNumber(QStringLiteral("24536871")),
         QStringLiteral("Maria Fernandes"), QStringLiteral("Rua do Carmo, 15, 2.º Esq."), QStringLiteral("1200-093"),
         QStringLiteral("Lisboa"), QStringLiteral("PT")},
        {ck_TaxNumber, QStringLiteral("CL0002"), TaxNumber(QStringLiteral("50812345")),
         QStringLiteral("Gonçalves & Filhos, Lda."), QStringLiteral("Rua de Cedofeita, 300"),
         QStringLiteral("4050-174"), QStringLiteral("Porto"), QStringLiteral("PT")},
        {ck_TaxNumber, QStringLiteral("CL0003"), TaxNumber(QStringLiteral("51023987")),
         QStringLiteral("Restaurante O Cantinho <Sé>"), QStringLiteral("Largo da Sé, 3"), QStringLiteral("8000-138"),
         QStringLiteral("Faro"), QStringLiteral("PT")},
        {ck_TaxNumber, QStringLiteral("CL0004"), TaxNumber(QStringLiteral("51498765")),
         QStringLiteral("Ωmega Serviços Digitais, Lda."), QStringLiteral("Avenida da Liberdade, 200"),
         QStringLiteral("1250-147"), QStringLiteral("Lisboa"), QStringLiteral("PT")},
        {ck_PrefixedTaxNumber, QStringLiteral("CL0005"), QStringLiteral("PT") + TaxNumber(QStringLiteral("23456789")),
         QStringLiteral("João Conceição"), QStringLiteral("Rua Direita, 45"), QStringLiteral("3500-116"),
         QStringLiteral("Viseu"), QStringLiteral("PT")},
        {ck_PrefixedTaxNumber, QStringLiteral("CL0006"), QStringLiteral("PT") + TaxNumber(QStringLiteral("50345678")),
         QStringLiteral("Clínica Dentária Sorriso, Lda."), QStringLiteral("Praça da República, 7"),
         QStringLiteral("3000-343"), QStringLiteral("Coimbra"), QStringLiteral("PT")},
        // Named customers without a tax number: the till writes the consumer's number and their name.
        {ck_NoTaxNumber, QStringLiteral("CL0007"), consumer, QStringLiteral("Łucja Kowalska"),
         QStringLiteral("ul. Marszałkowska 10"), QStringLiteral("00-590"), QStringLiteral("Warszawa"),
         QStringLiteral("PL")},
        {ck_NoTaxNumber, QStringLiteral("CL0008"), consumer, QStringLiteral("Hans Müller"),
         QStringLiteral("Hauptstraße 5"), QStringLiteral("10115"), QStringLiteral("Berlin"), QStringLiteral("DE")},
        {ck_NoTaxNumber, QStringLiteral("CL0009"), consumer, QStringLiteral("Ana Sofia Álvares"), QString(), QString(),
         QString(), QStringLiteral("PT")},
    };
    return customers;
}

int kSampleCatalogue::CustomerOf(tkSampleCustomerKind aKind, int aNth)
{
    const auto& customers = Customers();
    int seen = 0;
    for (size_t i = 0; i < customers.size(); ++i)
        if (customers[i].Kind == aKind && seen++ == aNth)
            return int(i);
    throw Exception(QStringLiteral("No sample customer %1 of kind %2").arg(aNth).arg(int(aKind)));
}
