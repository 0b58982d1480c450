#include "data/DataTestUtil.h"
#include "data/Find.h"
#include "data/Upgrade.h"
#include "support/OldDatabase.h"

#include <QFile>
#include <set>
#include <tuple>

namespace {

using Keys = std::set<qint64>;

class FindTest : public DataTest {
protected:
    struct Found {
        Keys cases, customers;
    };
    static Found found(const QString& typed) {
        const FindResults r = find_Search(DatabasePath, typed);
        Found f;
        for (const FindHit& hit : r.cases) f.cases.insert(hit.caseKey);
        for (const FindHit& hit : r.customers) f.customers.insert(hit.customerKey);
        return f;
    }
    static void edit(const QString& table, qint64 key, const QString& field, const Value& value) {
        EXPECT_EQ(data_vChangeDBValue(DatabasePath, table, field, value, "PrimaryKey", key), Value(""));
    }
    // Every row of the table has its row in the index, and no other row is there.
    static void expectIndexInStep() {
        for (const auto& [table, index] : {std::pair{"Cases", "FindCases"}, {"Address", "FindCustomers"}})
            EXPECT_EQ(countRows(index), countRows(table)) << index;
    }
};

TEST_F(FindTest, MatchesInfixAnyCaseAccentsAmountsPhonesAndQuotesSafely) {
    const qint64 emile = addCustomer("Durand, Émile", {{"FirstName", Value("Émile")},
        {"LastName", Value("Durand")}, {"CompanyName", Value("Café Noël")},
        {"Phone", Value("(555) 123-4567")}});
    const qint64 sean = addCustomer("O'Brien, Sean", {{"CompanyName", Value("Acme \"Best\" Tools")}});
    const qint64 exact = addCase(emile, true, {{"ReferenceNumber", Value("R-2024-17")},
        {"CheckNumber", Value("004512")}, {"AccountNumber", Value("99887766")},
        {"CheckAmount", Value::currencyFromScaled(1250000)}});
    const qint64 larger = addCase(sean, true,
        {{"CheckNumber", Value("7781")}, {"CheckAmount", Value::currencyFromScaled(11250000)}});
    const std::tuple<const char*, Keys, Keys> rows[] = { // typed, cases and customers found
        {"", {}, {}}, {"   ", {}, {}}, {"emile", {}, {emile}}, {"EMI", {}, {emile}}, {"éMÎL", {}, {emile}},
        {"rand, e", {}, {emile}}, // infix, across the display name's comma
        {"cafe noel", {}, {emile}}, {"o'bri", {}, {sean}}, {"\"best\"", {}, {sean}}, {"\"", {}, {}},
        {"'); DROP TABLE Cases; --", {}, {}}, {"NEAR(a b) OR *", {}, {}},
        {"4512", {exact}, {}}, {"2024-1", {exact}, {}}, {"8877", {exact}, {}},
        {"125", {exact, larger}, {}}, // in 125.00 and in 1125.00
        {"$125.00", {exact}, {}},     // that amount exactly
        {"$1,125", {larger}, {}},
        {"5551234567", {}, {emile}}, {"123-45", {}, {emile}}, // the phone's digits alone, or as written
        {"du", {}, {emile}}, {"ur", {}, {}}, // two characters: the display names that begin with them
    };
    for (const auto& [typed, cases, customers] : rows) {
        const Found f = found(QString::fromUtf8(typed));
        EXPECT_EQ(f.cases, cases) << typed;
        EXPECT_EQ(f.customers, customers) << typed;
    }
    EXPECT_TRUE(platform->errorReports.empty());

    const FindResults amount = find_Search(DatabasePath, "$125.00");
    ASSERT_EQ(amount.cases.size(), 1u);
    EXPECT_EQ(amount.cases[0].text, "Case # R-2024-17 · Check # 004512 · $125.00 · Durand, Émile");
    EXPECT_EQ(amount.cases[0].customerKey, emile);
}

TEST_F(FindTest, TheIndexFollowsEveryAddChangeAndDeletion) {
    const qint64 customer = addCustomer("Lindqvist, Åsa", {{"Phone", Value("555-0101")}});
    const qint64 caseKey = addCase(customer, true, {{"CheckNumber", Value("88120")}});
    // Another program on the same file writes through the same triggers.
    OtherSession other(DatabasePath);
    const std::tuple<std::function<void()>, const char*, bool, bool> steps[] = {
        {[] {}, "asa", false, true},
        {[] {}, "8812", true, false},
        {[&] { edit("Address", customer, "ShowAs", Value("Berg, Åsa")); }, "lindq", false, false},
        {[] {}, "berg, a", false, true},
        {[&] { edit("Cases", caseKey, "CheckNumber", Value("99001")); }, "8812", false, false},
        {[] {}, "9900", true, false},
        {[&] { edit("Cases", caseKey, "Bank", Value("Harbour Credit")); }, "9900", true, false},
        {[&] { other.exec("UPDATE Address SET Phone = '555-7777'"); }, "0101", false, false},
        {[] {}, "5557777", false, true},
        {[&] { Database::open(DatabasePath).execute(QStringLiteral("DELETE FROM Cases")); }, "9900", false, false},
        {[&] { other.exec("DELETE FROM Address"); }, "berg", false, false},
    };
    for (const auto& [change, typed, caseFound, customerFound] : steps) {
        change();
        const Found f = found(typed);
        EXPECT_EQ(f.cases.count(caseKey), caseFound ? 1u : 0u) << typed;
        EXPECT_EQ(f.customers.count(customer), customerFound ? 1u : 0u) << typed;
        expectIndexInStep();
    }
}

TEST_F(FindTest, AnUpgradeBuildsTheIndexForTheRowsThereAre) {
    // A database of the earlier release, and one of the current design whose index went missing.
    for (const bool old : {true, false}) {
        Database::releaseAll();
        if (old) {
            ASSERT_TRUE(QFile::remove(DatabasePath));
            old_WriteDatabase(DatabasePath);
        } else {
            Database db = Database::open(DatabasePath);
            addCustomer("Marchetti, Lia", {{"LastName", Value("Marchetti")}});
            db.execute(QStringLiteral("DROP TRIGGER FindCustomers_Update"));
            db.execute(QStringLiteral("DROP TABLE FindCases"));
        }
        EXPECT_FALSE(data_bHasFindIndex(DatabasePath)) << old;
        EXPECT_TRUE(data_UpgradeDatabase(DatabasePath)) << old;
        EXPECT_TRUE(data_bHasFindIndex(DatabasePath)) << old;
        expectIndexInStep();
        EXPECT_FALSE(found("marchet").customers.empty()) << old;
        // The triggers work on the upgraded file.
        const qint64 added = addCase(1, true, {{"ReferenceNumber", Value(old ? "UPG-OLD" : "UPG-NEW")}});
        EXPECT_EQ(found(old ? "upg-old" : "upg-new").cases, Keys{added}) << old;
    }
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(FindTest, FoldingAndBoldingFollowTheOriginalText) {
    const std::tuple<const char*, QStringList, const char*> rows[] = { // line, terms, the line in HTML
        {"Café Noël", {"cafe"}, "<b>Café</b> Noël"},
        {"Cafe\xcc\x81 Noel", {"CAFÉ"}, "<b>Cafe\xcc\x81</b> Noel"}, // a combining accent stays with its letter
        {"A<B & co", {"<b &"}, "A<b>&lt;B &amp;</b> co"},
        {"Check # 1125 · $125.00", {"125"}, "Check # 1<b>125</b> · $<b>125</b>.00"},
        {"Nothing here", {"xyz", ""}, "Nothing here"},
    };
    for (const auto& [line, terms, html] : rows)
        EXPECT_EQ(find_sHighlight(QString::fromUtf8(line), terms), QString::fromUtf8(html)) << line;
    EXPECT_EQ(find_sFold(QString::fromUtf8("ÉMILE Ångström")), "emile angstrom");
}

} // namespace
