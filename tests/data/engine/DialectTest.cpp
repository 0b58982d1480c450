#include "data/engine/Dialect.h"

#include "EngineTestUtil.h"

TEST(Dialect, TranslatesDatesTextsKeywordsAndWildcardsButNothingInsideATextOrAName) {
    const std::pair<const char*, const char*> cases[] = {
        // Date literals become stored date texts; a literal that is no date is left for SQLite to reject.
        {"Opened = #03/05/2024#", "Opened = '2024-03-05 00:00:00'"},
        {"Opened >= #3/5/2024 3:04:05 PM#", "Opened >= '2024-03-05 15:04:05'"},
        {"Opened < #12/31/2024 23:59:59#", "Opened < '2024-12-31 23:59:59'"},
        {"Opened = #1/2/2024 12:00:00 AM#", "Opened = '2024-01-02 00:00:00'"},
        {"x = #13/45/2024#", "x = #13/45/2024#"},
        // Texts in either quote become SQL texts, and nothing inside them changes.
        {R"(LastName = "O""Brien")", R"(LastName = 'O"Brien')"},
        {R"(LastName = "O'Brien")", "LastName = 'O''Brien'"},
        {"LastName = 'O''Brien'", "LastName = 'O''Brien'"},
        {R"(Note = "True & False #1/1/2024# [x] *")", "Note = 'True & False #1/1/2024# [x] *'"},
        {R"(Note = 'it''s "True"')", R"(Note = 'it''s "True"')"},
        {R"(a = "")", "a = ''"},
        // True and False as words only; bracketed names, & and DISTINCTROW; numbers as they are.
        {"SELECT * FROM Cases WHERE CaseOpen = True AND Paid = false",
         "SELECT * FROM Cases WHERE CaseOpen = 1 AND Paid = 0"},
        {"Cases.TrueX = TrueValue AND Cases.True = 1", "Cases.TrueX = TrueValue AND Cases.True = 1"},
        {R"(SELECT [Last Name] & ", " & First FROM [My Table])",
         R"(SELECT "Last Name" || ', ' || First FROM "My Table")"},
        {"SELECT DISTINCTROW City FROM Customers WHERE Notes Is Not Null",
         "SELECT DISTINCT City FROM Customers WHERE Notes Is Not Null"},
        {"Amount > 1.5E+3", "Amount > 1.5E+3"},
        // Wildcards become SQL wildcards only in Like patterns; [*] is a plain star, _ a plain underscore.
        {R"(LastName Like "Mc*")", "LastName Like 'Mc%'"},
        {"Code LIKE 'A?C'", "Code LIKE 'A_C'"},
        {R"(Code Like "5[*]_*")", R"(Code Like '5*\_%' ESCAPE '\')"},
        {R"(Note = "a*" AND Code Like "b*")", "Note = 'a*' AND Code Like 'b%'"},
    };
    for (const auto& [classic, translated] : cases)
        EXPECT_EQ(translateSql(classic), QString(translated)) << classic;
}

class DialectInEngine : public EngineFixture {};

TEST_F(DialectInEngine, DoubleQuotedTextIsNeverTakenForAColumn) {
    addCustomer("City", "Springfield");
    addCustomer("Springfield", "Springfield");
    addCustomer("O'Brien\"s", "Cork");

    // LastName = City holds for the second customer; LastName = "City" only for the first.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {R"(SELECT * FROM Customers WHERE LastName = "City")", "City", "Springfield"},
        {"SELECT * FROM Customers WHERE LastName = City", "LastName", "Springfield"},
        {R"(SELECT * FROM Customers WHERE LastName = "O'Brien""s")", "City", "Cork"},
        {R"(Select* FROM Customers WHERE LastName Like "Spring*")", "LastName", "Springfield"}};
    for (const auto& [sql, field, value] : cases) {
        Recordset rs = db.openDynaset(sql);
        EXPECT_EQ(rs.recordCount(), 1) << sql;
        EXPECT_EQ(rs.value(field), Value(value)) << sql;
    }
}
