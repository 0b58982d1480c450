#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/Schema.h"
#include "data/Upgrade.h"
#include "data/engine/EngineTestUtil.h"
#include "support/OldDatabase.h"
#include "support/TestFixtures.h"

#include <QFile>

namespace {

class UpgradeTest : public ProgramTest {
protected:
    // Puts a database of the earlier release in place of the new one.
    void writeOld(const OldDatabaseOptions& options = {}) {
        Database::releaseAll();
        EXPECT_TRUE(QFile::remove(DatabasePath));
        old_WriteDatabase(DatabasePath, options);
    }

    // Appends a field through the record operations.
    static bool append(const char* name, const char* type, int size, const char* table = "Address",
                       const AppendFieldOptions& options = {}) {
        return data_bAppendField(name, type, size, DatabasePath, table, options);
    }

    static QStringList fields(const QString& table) { return Database::open(DatabasePath).fieldNames(table); }

    // A field of every row of Address or Cases, by key.
    static QMap<qint64, Value> valuesOf(const QString& table, const QString& field) {
        const QString key = table == "Cases" ? "CaseID" : "CustomerID";
        QMap<qint64, Value> result;
        for (Recordset rs = Database::open(DatabasePath).openTable(table); !rs.eof(); rs.moveNext())
            result.insert(rs.value(key).toLongLong(), rs.value(field));
        return result;
    }

    // The names of the customer-list queries: all of them, or those the database holds.
    static QStringList customerListQueries(bool presentOnly = false) {
        Database db = Database::open(DatabasePath);
        QStringList names;
        for (const SavedQuery& q : data_CustomerListQueries())
            if (!presentOnly || db.queryExists(q.name)) names << q.name;
        return names;
    }
};

TEST_F(UpgradeTest, AnOlderDatabaseGetsTheWholeCurrentDesignKeepsItsDataAndASecondRunChangesNothing) {
    writeOld();
    const auto names = valuesOf("Address", "LastName");
    const auto balances = valuesOf("Cases", "BalanceOwed");
    const auto open = valuesOf("Cases", "CaseOpen");
    ASSERT_EQ(balances.size(), 8);

    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));

    const QStringList address = fields("Address");
    EXPECT_EQ(address.mid(address.size() - 2), QStringList({"ShowAs", "Email"})) << "added in this order";
    EXPECT_FALSE(fields("Cases").contains("BalanceOwed"));
    EXPECT_EQ(customerListQueries(true), customerListQueries());
    EXPECT_EQ(valuesOf("Cases", "BallanceOwed"), balances) << "the balances moved with their field";
    EXPECT_EQ(valuesOf("Address", "LastName"), names);
    for (const Value& showAs : valuesOf("Address", "ShowAs"))
        EXPECT_EQ(showAs.toString(), "");
    EXPECT_EQ(data_vCheckDBValue(SettingsDatabasePath, "Config", "Memo", "", ""),
              Value("Kept from the old release"));

    // The queries work on the upgraded tables.
    Recordset extended =
        Database::open(DatabasePath).openDynaset("q_CustomerListWithOpenCaseExtendedDetails");
    EXPECT_EQ(extended.recordCount(), open.values().count(Value(true)));
    EXPECT_EQ(extended.value("BallanceOwed"), balances.value(extended.value("CaseID").toLongLong()));
    extended.close();

    // ShowAs takes 160 characters and an empty text; Email 50.
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    rs.edit();
    for (const auto& [field, size] : {std::pair{"ShowAs", 160}, {"Email", 50}}) {
        EXPECT_EQ(errorNumber([&] { rs.setValue(field, Value(QString(size, 'x'))); }), 0) << field;
        EXPECT_EQ(errorNumber([&] { rs.setValue(field, Value(QString(size + 1, 'x'))); }), 3163) << field;
    }
    rs.setValue("ShowAs", Value(""));
    rs.setValue("Email", Value("ada@example.org"));
    rs.update();
    rs.close();

    // Run again, as on a start that finds the design current.
    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));
    EXPECT_EQ(fields("Address"), address);
    EXPECT_EQ(customerListQueries(true), customerListQueries());
    EXPECT_EQ(valuesOf("Cases", "BallanceOwed"), balances);
    EXPECT_EQ(valuesOf("Address", "Email").first(), Value("ada@example.org"));
    EXPECT_TRUE(nothingSaid());
}

TEST_F(UpgradeTest, StepsWhoseWorkIsDoneFailQuietlyAndTheRestStillRuns) {
    for (const OldDatabaseOptions& options :
         {OldDatabaseOptions{.withEmail = true}, OldDatabaseOptions{.balanceField = "BallanceOwed"}}) {
        writeOld(options);
        const auto balances = valuesOf("Cases", options.balanceField);
        EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));
        EXPECT_EQ(fields("Address").count("Email"), 1);
        EXPECT_TRUE(fields("Address").contains("ShowAs"));
        EXPECT_EQ(fields("Cases").count("BallanceOwed"), 1);
        EXPECT_EQ(valuesOf("Cases", "BallanceOwed"), balances);
        EXPECT_EQ(customerListQueries(true), customerListQueries());
    }
    EXPECT_TRUE(nothingSaid()) << "work found done is passed over without a word";
}

TEST_F(UpgradeTest, AnUpgradeThatCannotBeCompletedLeavesTheOldDesignForTheNextStart) {
    // No balance field of either spelling: the extended customer list cannot be made.
    writeOld({.balanceField = "Balance"});
    const QStringList address = fields("Address");
    const auto balances = valuesOf("Cases", "Balance");
    platform->errorAnswers.push_back({3, false});

    EXPECT_FALSE(data_UpgradeDatabase(DatabasePath));
    ASSERT_EQ(platform->errorReports.size(), 1u) << "the failing query is reported";
    EXPECT_EQ(platform->errorReports[0].location, "Database.bas ! data_CreateQuery");

    // Nothing of the upgrade stayed: ShowAs is still missing, so the next start upgrades again.
    EXPECT_EQ(fields("Address"), address);
    EXPECT_TRUE(customerListQueries(true).isEmpty());
    EXPECT_EQ(valuesOf("Cases", "Balance"), balances);
    // And the file takes changes afterwards: no transaction was left open.
    const qint64 first = valuesOf("Address", "LastName").firstKey();
    EXPECT_EQ(data_vChangeDBValue(DatabasePath, "Address", "City", Value("Sydney"), "PrimaryKey", first),
              Value(""));
    Database::releaseAll();
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "City", "PrimaryKey", first), Value("Sydney"));
}

TEST_F(UpgradeTest, CreatingAQueryReplacesOneOfThatName) {
    data_CreateQuery(DatabasePath, "q_Test", "SELECT * FROM ListCheckTypes WHERE CheckType = \"NSF\"");
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_Test"), 1);
    data_CreateQuery(DatabasePath, "q_Test", "SELECT * FROM ListCheckTypes");
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_Test"), 2);
    EXPECT_TRUE(nothingSaid()) << "a query that is not there yet is no error";

    // A text that cannot be a query is reported, and the old query is gone all the same.
    platform->errorAnswers.push_back({3, false});
    data_CreateQuery(DatabasePath, "q_Test", "SELECT Nothing FROM NoSuchTable");
    EXPECT_EQ(platform->messages.size() + platform->errorReports.size(), 1u);
    EXPECT_FALSE(Database::open(DatabasePath).queryExists("q_Test"));
}

TEST_F(UpgradeTest, FieldTypeWordsAndCodes) {
    // A word gives its code, or with the SQL choice its type name; a code gives its display word either
    // way (7 is "Double", as "Number" has none of its own). Letter case matters; anything else is Empty.
    const std::tuple<Value, Value, Value> rows[] = {
        {"Number", 7, "DOUBLE"},       {"Yes/No", 1, "YESNO"},     {"Date/Time", 8, "DATETIME"},
        {"Date", 8, "DATETIME"},       {"Time", 8, "DATETIME"},    {"Double", 7, "DOUBLE"},
        {"Integer", 3, "INTEGER"},     {"Single", 6, "Single"},    {"Currency", 5, "Currency"},
        {"Memo", 12, "MEMO"},          {"Long", 4, "LONG"},        {"Text", 10, "TEXT"},
        {1, "Yes/No", "Yes/No"},       {3, "Integer", "Integer"},  {4, "Long", "Long"},
        {5, "Currency", "Currency"},   {6, "Single", "Single"},    {7, "Double", "Double"},
        {8, "Date/Time", "Date/Time"}, {10, "Text", "Text"},       {12, "Memo", "Memo"},
        {"10", "Text", "Text"}, // a text that reads as a number
        // Empty for everything else.
        {"text", {}, {}}, {"TEXT", {}, {}}, {"date", {}, {}}, {"Yes/no", {}, {}}, {"Text ", {}, {}},
        {"", {}, {}}, {"Boolean", {}, {}}, {0, {}, {}}, {2, {}, {}}, {9, {}, {}}, {11, {}, {}}, {13, {}, {}},
        {-1, {}, {}}, {7.5, {}, {}}, {Value::null(), {}, {}},
    };
    for (const auto& [given, plain, sql] : rows)
        EXPECT_EQ(std::pair(data_vDetermineFieldType(given), data_vDetermineFieldType(given, true)),
                  std::pair(plain, sql)) << given.debugString().toStdString();
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(UpgradeTest, AppendingAFieldWithADefaultOrACopyFillsTheRowsThereAre) {
    writeOld();
    const QList<qint64> customers = valuesOf("Address", "LastName").keys();
    EXPECT_TRUE(append("Region", "Text", 20, "Address", {.defaultValue = Value("East")}));
    EXPECT_EQ(valuesOf("Address", "Region").values(), QList<Value>(customers.size(), Value("East")));
    Recordset added = Database::open(DatabasePath).openTable("Address");
    added.addNew();
    added.update();
    EXPECT_EQ(added.value("Region"), Value("East")) << "the default holds for new rows too";
    added.close();

    // A date field copied from a text field, for the rows whose text reads as a date.
    const QString misc[] = {"3/14/2024", "not a date", "2023-11-02 09:30:00"};
    for (int i = 0; i < 3; ++i)
        data_vChangeDBValue(DatabasePath, "Address", "Misc", Value(misc[i]), "PrimaryKey", customers[i]);
    EXPECT_TRUE(append("FirstSeen", "Date", 0, "Address", {.copyFromField = "Misc"}));
    const auto seen = valuesOf("Address", "FirstSeen");
    EXPECT_EQ(seen.value(customers[0]), Value::date(QDate(2024, 3, 14)));
    EXPECT_TRUE(seen.value(customers[1]).isNull());
    EXPECT_EQ(seen.value(customers[2]), Value::date(QDateTime(QDate(2023, 11, 2), QTime(9, 30))));

    // Currency with a default: every case gets it, exactly.
    EXPECT_TRUE(append("LateFee", "Currency", 0, "Cases", {.defaultValue = Value::currency(12.5)}));
    EXPECT_EQ(valuesOf("Cases", "LateFee").values(), QList<Value>(8, Value::currencyFromScaled(125000)));
    EXPECT_TRUE(nothingSaid());
}

TEST_F(UpgradeTest, AppendingAFieldHonoursSizeTypeZeroLengthAndTakenNames) {
    writeOld();
    // Size is the length of a Text field (16 makes no Text field number itself); other types ignore it.
    EXPECT_TRUE(append("Badge", "Text", 16));
    EXPECT_TRUE(append("Visits", "Long", 50));
    EXPECT_TRUE(append("Region", "Text", 20, "Address", {.allowZeroLength = false}));
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    EXPECT_TRUE(rs.value("Badge").isNull()) << "existing rows get nothing";
    rs.edit();
    rs.setValue("Badge", Value(QString(16, 'B')));
    EXPECT_EQ(errorNumber([&] { rs.setValue("Badge", Value(QString(17, 'B'))); }), 3163);
    rs.setValue("Visits", Value(123456));
    rs.update();
    EXPECT_EQ(rs.value("Visits"), Value(qint64(123456)));
    rs.edit();
    rs.setValue("Region", Value(""));
    EXPECT_NE(errorNumber([&] { rs.update(); }), 0) << "a Text field that must not be empty";
    rs.cancelUpdate();
    rs.close();

    // A name that is taken: the message unless quiet, and false either way.
    EXPECT_FALSE(append("LastName", "Text", 50));
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Field names must be unique. That field name already exists.");
    EXPECT_EQ(platform->messages[0].title, "Duplicate Field Name");
    EXPECT_EQ(platform->messages[0].style, 16);
    EXPECT_FALSE(append("lastname", "Text", 50, "Address", {.quiet = true}));
    EXPECT_EQ(platform->messages.size(), 1u);

    // A type word the engine does not know, or a Long of size 16 (only a table's key numbers itself):
    // reported, and nothing added.
    const QStringList before = fields("Address");
    platform->errorAnswers = {{3, false}, {3, false}};
    EXPECT_FALSE(append("Odd", "text", 10));
    EXPECT_FALSE(append("Counter", "Long", 16));
    EXPECT_EQ(platform->errorReports.size(), 2u);
    EXPECT_EQ(fields("Address"), before);
}

TEST_F(UpgradeTest, RenamingAMissingFieldOrTableFailsQuietly) {
    // (A field renamed keeps its data: the balances of the whole upgrade, above.)
    EXPECT_FALSE(data_bAlterFieldName(DatabasePath, "Cases", "BalanceOwed", "Outstanding"));
    EXPECT_FALSE(data_bAlterFieldName(DatabasePath, "NoSuchTable", "A", "B"));
    EXPECT_TRUE(nothingSaid());
}

} // namespace
