// What each document will be: the showcase that opens every registry, then a shop's everyday mix.
#include "uSampleRegistry_Internal.h"

#include <functional>

namespace {

Currency Units(int aUnits)
{
    return Currency(aUnits);
}

Currency Kilograms(int aGrams)
{
    return Currency::FromRaw(int64_t(aGrams) * (Currency::Scale / 1000));
}

tkSampleItem Item(int aArticle, Currency aQuantity, tkSampleAdjust aAdjust = adj_None)
{
    tkSampleItem item;
    item.Article = aArticle;
    item.Quantity = aQuantity;
    item.Adjust = aAdjust;
    return item;
}

tkSampleItem RandomItem(tkSampleRandom& aRandom, bool aFirst)
{
    tkSampleItem item;
    item.Article = int(aRandom.Below(ar_Count));
    const tkSampleArticle& article = kSampleCatalogue::Article(item.Article);
    if (article.Weighted)
        item.Quantity = Kilograms(150 + 5 * int(aRandom.Below(271)));
    else
        item.Quantity = Units(aRandom.Chance(700) ? 1 : aRandom.Chance(670) ? 2 : 3 + int(aRandom.Below(4)));
    // The first line is always paid, so that no document totals nothing.
    item.Free = !aFirst && aRandom.Chance(article.FreePerMille);
    item.Alternate = !article.AlternateDescription.isEmpty() && aRandom.Chance(350);
    // A free line takes no discount: its net amount would go below nothing.
    if (!item.Free && aRandom.Chance(60))
        item.Adjust = tkSampleAdjust(1 + aRandom.Weighted({2, 2, 1, 1}));
    item.TextAfter = aRandom.Chance(20);
    return item;
}

int RandomCustomer(tkSampleRandom& aRandom)
{
    const auto& customers = kSampleCatalogue::Customers();
    const int kind = aRandom.Weighted({800, 140, 60});
    std::vector<int> candidates;
    for (size_t i = 0; i < customers.size(); ++i) {
        const tkSampleCustomerKind k = customers[i].Kind;
        const int group = k == ck_Consumer ? 0 : k == ck_NoTaxNumber ? 2 : 1;
        if (group == kind)
            candidates.push_back(int(i));
    }
    return candidates[size_t(aRandom.Below(int64_t(candidates.size())))];
}

tkSamplePlan RandomPlan(tkSampleRandom& aRandom)
{
    tkSamplePlan plan;
    std::vector<int> weights;
    for (const tkSampleBranch& branch : kSampleCatalogue::Branches())
        weights.push_back(branch.Weight);
    plan.Branch = aRandom.Weighted(weights);
    const tkSampleBranch& branch = kSampleCatalogue::Branches()[size_t(plan.Branch)];
    plan.Till = int(aRandom.Below(branch.Tills));
    plan.Operator = int(aRandom.Below(branch.Operators.size()));
    plan.Refund = aRandom.Chance(40);
    const int source = aRandom.Weighted({970, 20, 10});
    plan.Source = source == 0 ? u'P' : source == 1 ? u'M' : u'D';
    plan.Cancelled = !plan.Refund && aRandom.Chance(15);
    plan.Customer = RandomCustomer(aRandom);

    // A credit note that finds no sale to refer to becomes a sale, so every plan has its lines.
    const int count = 1 + int(aRandom.Below(3)) + (aRandom.Chance(400) ? int(aRandom.Below(5)) : 0);
    for (int i = 0; i < count; ++i)
        plan.Items.push_back(RandomItem(aRandom, i == 0));
    if (aRandom.Chance(50)) {
        plan.Subtotal = true;
        plan.SubtotalAdjust = tkSampleAdjust(aRandom.Weighted({1, 2, 3, 1, 1}));
    }
    if (aRandom.Chance(30))
        plan.CentOff = aRandom.Chance(500) ? -1 : 1;
    plan.Payment = tkSamplePayment(aRandom.Weighted({200, 250, 20, 120, 250, 30, 10, 10, 20, 20, 50, 20}));
    if (plan.Payment == pay_AccountCredit && kSampleCatalogue::Customers()[size_t(plan.Customer)].Kind == ck_Consumer)
        plan.Payment = pay_Cash;   // only a known customer buys on account
    return plan;
}

// The showcase keeps the random store, till and operator and decides everything else.
tkSamplePlan Showcase(const tkSamplePlan& aRandom, int aCustomer, std::vector<tkSampleItem> aItems,
                      tkSamplePayment aPayment)
{
    tkSamplePlan plan;
    plan.Branch = aRandom.Branch;
    plan.Till = aRandom.Till;
    plan.Operator = aRandom.Operator;
    plan.Customer = aCustomer;
    plan.Items = std::move(aItems);
    plan.Payment = aPayment;
    return plan;
}

using tkShowcase = std::function<tkSamplePlan(const tkSamplePlan&)>;

// One document for each kind the export meets, with its oddities, in the first receipts of a registry.
const std::vector<tkShowcase>& ShowcasePlans()
{
    auto customer = kSampleCatalogue::CustomerOf;
    const int consumer = customer(ck_Consumer, 0);
    static const std::vector<tkShowcase> plans = {
        [=](const tkSamplePlan& r) {
            tkSampleItem wrap = Item(ar_GiftWrap, Units(1));
            wrap.Free = true;
            return Showcase(r, consumer,
                            {Item(ar_Cheese, Kilograms(350)), Item(ar_Detergent, Units(1), adj_DiscountAmount), wrap},
                            pay_CashWithChange);
        },
        [=](const tkSamplePlan& r) {
            tkSampleItem milk = Item(ar_Milk, Units(2));
            milk.Alternate = true;
            tkSamplePlan p = Showcase(
                r, customer(ck_PrefixedTaxNumber, 0),
                {Item(ar_Wine, Units(2), adj_MarkupPercentage), milk, Item(ar_Bread, Units(1), adj_DiscountPercentage)},
                pay_CreditCard);
            p.Subtotal = true;
            p.SubtotalAdjust = adj_DiscountPercentage;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSampleItem workshop = Item(ar_Workshop, Units(1));
            workshop.TextAfter = true;
            tkSamplePlan p =
                Showcase(r, customer(ck_NoTaxNumber, 0), {workshop, Item(ar_GreenTea, Units(2))}, pay_DebitCard);
            p.Source = u'M';
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p = Showcase(
                r, customer(ck_TaxNumber, 1),
                {Item(ar_Milk, Units(6)), Item(ar_Yoghurt, Units(1)), Item(ar_Delivery, Units(1), adj_MarkupAmount)},
                pay_Cheque);
            p.Source = u'D';
            p.Subtotal = true;
            p.SubtotalAdjust = adj_MarkupAmount;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p = Showcase(r, consumer, {Item(ar_Coffee, Units(1))}, pay_Cash);
            p.CentOff = -1;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p =
                Showcase(r, consumer, {Item(ar_OliveOil, Units(1)), Item(ar_Rice, Units(2))}, pay_MealVoucher);
            p.CentOff = 1;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p = Showcase(r, consumer, {Item(ar_Beer, Units(1))}, pay_DebitCard);
            p.Cancelled = true;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p = Showcase(r, consumer, {Item(ar_Water, Units(2))}, pay_Cash);
            p.Refund = true;
            return p;
        },
        [=](const tkSamplePlan& r) {
            return Showcase(r, customer(ck_TaxNumber, 2), {Item(ar_Meal, Units(2)), Item(ar_PastryAndCoffee, Units(2))},
                            pay_AccountCredit);
        },
        [=](const tkSamplePlan& r) {
            return Showcase(r, customer(ck_PrefixedTaxNumber, 1),
                            {Item(ar_Shampoo, Units(1)), Item(ar_Batteries, Units(1))}, pay_CreditOnProducts);
        },
        [=](const tkSamplePlan& r) {
            return Showcase(r, customer(ck_TaxNumber, 3), {Item(ar_Delivery, Units(1)), Item(ar_Water, Units(6))},
                            pay_CreditOnServices);
        },
        [=](const tkSamplePlan& r) {
            return Showcase(r, customer(ck_NoTaxNumber, 1), {Item(ar_Wine, Units(1))}, pay_GiftCard);
        },
        [=](const tkSamplePlan& r) {
            return Showcase(r, consumer, {Item(ar_Codfish, Kilograms(850)), Item(ar_Apples, Kilograms(1200))},
                            pay_Voucher);
        },
        [=](const tkSamplePlan& r) {
            tkSampleItem bag = Item(ar_Bag, Units(1));
            bag.Free = true;
            tkSamplePlan p =
                Showcase(r, customer(ck_NoTaxNumber, 2),
                         {Item(ar_Sardines, Units(3)), Item(ar_Tomatoes, Kilograms(640)), bag}, pay_NHSCard);
            p.Subtotal = true;
            p.SubtotalAdjust = adj_DiscountAmount;
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p = Showcase(r, consumer, {Item(ar_Rice, Units(1))}, pay_DebitCard);
            p.Refund = true;
            p.Source = u'M';
            return p;
        },
        [=](const tkSamplePlan& r) {
            tkSamplePlan p =
                Showcase(r, customer(ck_TaxNumber, 0), {Item(ar_Rice, Units(1)), Item(ar_Coffee, Units(1))}, pay_Cash);
            p.Subtotal = true;
            p.SubtotalAdjust = adj_MarkupPercentage;
            return p;
        },
    };
    return plans;
}

}

tkSamplePlan kSamplePlanner::Plan(tkSampleRandom& aRandom, int aIndex)
{
    // Every document draws its random plan, the showcase ones too, so that what follows the
    // showcase does not depend on how it is made.
    tkSamplePlan plan = RandomPlan(aRandom);
    const auto& showcase = ShowcasePlans();
    return aIndex < int(showcase.size()) ? showcase[size_t(aIndex)](plan) : plan;
}
