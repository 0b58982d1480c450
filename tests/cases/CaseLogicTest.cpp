#include "cases/CaseListLogic.h"
#include "cases/CaseLogic.h"
#include "core/Format.h"
#include "customers/CustomerLogic.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QChar CR(13);
const QChar Tab(9);

TEST(CaseLogic, ReferenceNumbersFromTheMomentOfCreation) {
    EXPECT_EQ(proc_sNumberGenerator(QDateTime(QDate(2026, 12, 4), QTime(22, 16, 6))), "EEBF0BA7");
    // Seconds below 2^31 are written as they are, plus one: 1 January 1900 00:00:00 is second 86400.
    EXPECT_EQ(proc_sNumberGenerator(QDateTime(QDate(1900, 1, 1), QTime(0, 0))), "15181"); // 86 401
    // After 7 February 2036 the numbers start again from the top of the range: 1 January 2040 is second
    // 4 418 064 000, written as 4 418 064 000 - 3 155 760 000.
    EXPECT_EQ(proc_sNumberGenerator(QDateTime(QDate(2040, 1, 1), QTime(0, 0))), "4B3D3B00");
    // The time zone plays no part, only the wall clock.
    EXPECT_EQ(proc_sNumberGenerator(QDateTime(QDate(2026, 12, 4), QTime(22, 16, 6), Qt::UTC)), "EEBF0BA7");
}

Money m(const char* text) { return money_Read(QString::fromLatin1(text)); }
QString shown(Money amount) { return fmt_Currency(amount); }

// The amounts of a case on the screen are pinned by CaseRecordTest; here the rounding and the range.
TEST(CaseLogic, OnlyTheChargeIsRoundedAndTheLargestAmountsKeepEveryCent) {
    // +0.05 cent, then the floor.
    EXPECT_EQ(shown(case_CollectionCharge({m("100"), Money(), 12.3449, Money(), true, true, false})), "$12.34");
    EXPECT_EQ(shown(case_CollectionCharge({m("100"), Money(), 12.3496, Money(), true, true, false})), "$12.35");
    // 33.33 % of $999,999,999.99 is 333,299,999.9966667.
    EXPECT_EQ(case_CollectionCharge({Money::largestEntry(), Money(), 33.33, Money(), true, true, false}),
              m("333299999.99"));
}

TEST(CaseLogic, PaidAmountCountsOnlyWhenTheFirstBoxHoldsSomething) {
    EXPECT_EQ(shown(case_PaidAmount({"$10.00", "$20.00", "$30.00", "$0.00", "$0.00"})), "$60.00");
    EXPECT_EQ(shown(case_PaidAmount({"", "$50.00", "", "", ""})), "$0.00");
    EXPECT_EQ(shown(case_PaidAmount({"$0.00", "50", "", "", ""})), "$50.00");
    EXPECT_EQ(shown(case_PaidAmount({"($5.00)", "", "", "", ""})), "($5.00)") << "as the screens write a negative";
    // Tenths of cents that binary floating point cannot hold add up exactly.
    EXPECT_EQ(case_PaidAmount({"0.1", "0.2", "", "", ""}), m("0.3"));
}

// The list of cases due decides by its own query; the colour at the bounds is this rule's.
TEST(CaseLogic, StageColourByAge) {
    const QDateTime stageDate(QDate(2026, 11, 20), QTime(9, 0));
    const struct { QDateTime now; const char* stage; StageColour colour; } rows[] = {
        {stageDate.addDays(7), "First Notice", StageColour::Normal}, // exactly 7 days is not more than 7
        {stageDate.addDays(7).addSecs(1), "First Notice", StageColour::Yellow},
        {stageDate.addDays(14), "Attorney", StageColour::Yellow},
        {stageDate.addDays(14).addSecs(1), "Police", StageColour::Red},
        {stageDate.addDays(40), "Collection", StageColour::Normal}}; // never in collection
    for (const auto& r : rows)
        EXPECT_EQ(case_StageColour(r.now, stageDate, r.stage), r.colour) << r.now.toString().toStdString();
    EXPECT_EQ(case_StageColour(stageDate.addDays(40), QDateTime(), "Police"), StageColour::Normal) << "no date";
}

TEST(CaseListLogic, LineTexts) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const Value received = Value::date(QDateTime(QDate(2026, 3, 5), QTime(9, 30)));
    EXPECT_EQ(case_sSelectCaseLine(12, "EEBF0BA7", received, "First Notice"),
              QString("12") + Tab + "EEBF0BA7" + Tab + "03/05/26" + Tab + "   First Notice");
    EXPECT_EQ(case_sCustomerCaseLine("EEBF0BA7", received, true), QString("EEBF0BA7") + Tab + "03/05/26" + Tab + Tab + "Open");
    EXPECT_EQ(case_sCustomerCaseLine("X", Value::null(), false), QString("X") + Tab + Tab + Tab + "Closed");
}

TEST(CaseListLogic, DefaultShowAsNames) {
    const Value none = Value::null();
    EXPECT_EQ(cust_sDefaultShowAs("Lee", "Ann", "M", "Acme Tools"), "Lee, Ann M.   [Acme Tools]");
    EXPECT_EQ(cust_sDefaultShowAs("Lee", none, "M", "Acme Tools"), "Lee   [Acme Tools]") << "no initial without a first name";
    EXPECT_EQ(cust_sDefaultShowAs(none, "Ann", "M", ""), "Ann M.");
    EXPECT_EQ(cust_sDefaultShowAs("", "", "", "Acme Tools"), "[Acme Tools]");
    EXPECT_EQ(cust_sDefaultShowAs(none, none, none, none), "");
}

TEST(CaseListLogic, PickerTexts) {
    const Value date = Value::date(QDate(2026, 11, 2));
    EXPECT_EQ(case_sPickerItemText(true, "Lee, Ann", "First Notice", date), "Lee, Ann  |  First Notice  |  11/2/2026");
    EXPECT_EQ(case_sPickerItemText(true, Value::null(), "Police", date), "   [no 'Show As' info]    |  Police  |  11/2/2026");
    EXPECT_EQ(case_sPickerItemText(true, "Lee", Value::null(), Value::null()), "Lee  |    |  ") << "a Null stage adds nothing";
    EXPECT_EQ(case_sPickerItemText(false, "Lee, Ann", Value(), Value()), "Lee, Ann");
    EXPECT_EQ(case_sPickerItemText(false, "", Value(), Value()), "   [no 'Show As' info]");
}

TEST(CaseListLogic, CustomerTextBlock) {
    QMap<QString, Value> row;
    const auto field = [&](const QString& name) { return row.value(name, Value::null()); };
    row = {{"Title", "Ms."},         {"FirstName", "Ann"},  {"Initial", "M"},         {"LastName", "Lee"},
           {"CompanyName", "Acme"},  {"Address1", "1 Main St"}, {"Address2", ""},     {"City", "Kingston"},
           {"StateOrProv", "ON"},    {"PostalCode", "K7L 1A1"}, {"Country", "Canada"}, {"Phone", "555-1000"},
           {"Phone2", "555-2000"},   {"Extension", "12"},   {"Fax", "555-3000"},      {"Code", "C1"},
           {"Type", "Retail"},       {"Misc", "Cash only"}, {"Identification", "DL 123"}};
    EXPECT_EQ(case_sCustomerTextBlock(field),
              QString("Ms. Ann M Lee") + CR + "Acme" + CR + "1 Main St" + CR + "Kingston, ON   K7L 1A1" + CR + "Canada" + CR +
                  "555-1000" + QString(10, ' ') + "555-2000   Ext: 12" + CR + "Fax: 555-3000" + CR + "Code:  C1" +
                  QString(10, ' ') + "Type:  Retail" + CR + "Cash only" + CR + "ID:  DL 123");
}

TEST(CaseListLogic, CustomerSearchCriteria) {
    const QStringList fields = {"CustomerID", "Title", "LastName", "City", "NoMoreChecks"};
    EXPECT_EQ(case_CustomerSearchCriterion(fields, "LastName", "Smith"), QString("LastName = \"Smith\""));
    EXPECT_EQ(case_CustomerSearchCriterion(fields, "lastname", "O\"Brien"), QString("LastName = \"O\"\"Brien\""))
        << "the field's own spelling; a quote in the value is doubled";
    EXPECT_EQ(case_CustomerSearchCriterion(fields, "CustomerID", "12"), QString("CustomerID = 12"));
    EXPECT_EQ(case_CustomerSearchCriterion(fields, "City", "12"), QString("City = \"12\"")) << "a number in a text field stays text";
    EXPECT_FALSE(case_CustomerSearchCriterion(fields, "City = City OR 1", "x").has_value());
    EXPECT_EQ(case_CustomerSearchCriterion(fields, "CustomerID", "abc"), QString("False")) << "text never matches a number field";
}

} // namespace
