#include "data/engine/Dialect.h"

#include "EngineTestUtil.h"

TEST(DialectDates, DateLiteralsBecomeStoredDateTexts) {
    EXPECT_EQ(translateSql(QStringLiteral("Opened = #03/05/2024#")),
              QStringLiteral("Opened = '2024-03-05 00:00:00'"));
    EXPECT_EQ(translateSql(QStringLiteral("Opened >= #3/5/2024 3:04:05 PM#")),
              QStringLiteral("Opened >= '2024-03-05 15:04:05'"));
    EXPECT_EQ(translateSql(QStringLiteral("Opened < #12/31/2024 23:59:59#")),
              QStringLiteral("Opened < '2024-12-31 23:59:59'"));
    EXPECT_EQ(translateSql(QStringLiteral("Opened = #1/2/2024 12:00:00 AM#")),
              QStringLiteral("Opened = '2024-01-02 00:00:00'"));
    // Not a date: left for SQLite to reject.
    EXPECT_EQ(translateSql(QStringLiteral("x = #13/45/2024#")), QStringLiteral("x = #13/45/2024#"));
}

TEST(DialectTexts, QuotesAreConvertedAndNothingInsideATextChanges) {
    EXPECT_EQ(translateSql(QStringLiteral("LastName = \"O\"\"Brien\"")),
              QStringLiteral("LastName = 'O\"Brien'"));
    EXPECT_EQ(translateSql(QStringLiteral("LastName = \"O'Brien\"")),
              QStringLiteral("LastName = 'O''Brien'"));
    EXPECT_EQ(translateSql(QStringLiteral("LastName = 'O''Brien'")), QStringLiteral("LastName = 'O''Brien'"));
    EXPECT_EQ(translateSql(QStringLiteral("Note = \"True & False #1/1/2024# [x] *\"")),
              QStringLiteral("Note = 'True & False #1/1/2024# [x] *'"));
    EXPECT_EQ(translateSql(QStringLiteral("Note = 'it''s \"True\"'")),
              QStringLiteral("Note = 'it''s \"True\"'"));
    EXPECT_EQ(translateSql(QStringLiteral("a = \"\"")), QStringLiteral("a = ''"));
}

TEST(DialectKeywords, TrueFalseBracketsAndConcatenation) {
    EXPECT_EQ(translateSql(QStringLiteral("SELECT * FROM Cases WHERE CaseOpen = True AND Paid = false")),
              QStringLiteral("SELECT * FROM Cases WHERE CaseOpen = 1 AND Paid = 0"));
    EXPECT_EQ(translateSql(QStringLiteral("Cases.TrueX = TrueValue AND Cases.True = 1")),
              QStringLiteral("Cases.TrueX = TrueValue AND Cases.True = 1"));
    EXPECT_EQ(translateSql(QStringLiteral("SELECT [Last Name] & \", \" & First FROM [My Table]")),
              QStringLiteral("SELECT \"Last Name\" || ', ' || First FROM \"My Table\""));
    EXPECT_EQ(translateSql(QStringLiteral("SELECT DISTINCTROW City FROM Customers WHERE Notes Is Not Null")),
              QStringLiteral("SELECT DISTINCT City FROM Customers WHERE Notes Is Not Null"));
    EXPECT_EQ(translateSql(QStringLiteral("Amount > 1.5E+3")), QStringLiteral("Amount > 1.5E+3"));
}

TEST(DialectLike, WildcardsBecomeSqlWildcardsOnlyInLikePatterns) {
    EXPECT_EQ(translateSql(QStringLiteral("LastName Like \"Mc*\"")), QStringLiteral("LastName Like 'Mc%'"));
    EXPECT_EQ(translateSql(QStringLiteral("Code LIKE 'A?C'")), QStringLiteral("Code LIKE 'A_C'"));
    EXPECT_EQ(translateSql(QStringLiteral("Code Like \"5[*]_*\"")),
              QStringLiteral("Code Like '5*\\_%' ESCAPE '\\'"));
    EXPECT_EQ(translateSql(QStringLiteral("Note = \"a*\" AND Code Like \"b*\"")),
              QStringLiteral("Note = 'a*' AND Code Like 'b%'"));
}

class DialectInEngine : public EngineFixture {};

TEST_F(DialectInEngine, DoubleQuotedTextIsNeverTakenForAColumn) {
    addCustomer(QStringLiteral("City"), QStringLiteral("Springfield"));
    addCustomer(QStringLiteral("Springfield"), QStringLiteral("Springfield"));
    addCustomer(QStringLiteral("O'Brien\"s"), QStringLiteral("Cork"));

    // LastName = City holds for the second customer; LastName = "City" only for the first.
    Recordset byText = db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE LastName = \"City\""));
    EXPECT_EQ(byText.recordCount(), 1);
    EXPECT_EQ(byText.value(QStringLiteral("City")).toString(), QStringLiteral("Springfield"));
    Recordset byColumn = db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE LastName = City"));
    EXPECT_EQ(byColumn.recordCount(), 1);
    EXPECT_EQ(byColumn.value(QStringLiteral("LastName")).toString(), QStringLiteral("Springfield"));

    Recordset quoted =
        db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE LastName = \"O'Brien\"\"s\""));
    EXPECT_EQ(quoted.recordCount(), 1);
    EXPECT_EQ(quoted.value(QStringLiteral("City")).toString(), QStringLiteral("Cork"));
    EXPECT_EQ(db.openDynaset(QStringLiteral("Select* FROM Customers WHERE LastName Like \"Spring*\""))
                  .recordCount(),
              1);
}
