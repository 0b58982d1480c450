#include "data/Upgrade.h"
#include "app/AppError.h"
#include "app/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/Schema.h"
#include "data/engine/Database.h"
#include "support/OldDatabase.h"
#include "support/TestFixtures.h"

#include <QFile>

namespace {

int errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

class UpgradeTest : public ProgramTest {
protected:
    // Puts a database of the earlier release in place of the new one.
    OldDatabaseContent writeOld(const OldDatabaseOptions& options = {}) {
        Database::releaseAll();
        EXPECT_TRUE(QFile::remove(DatabasePath));
        return old_WriteDatabase(DatabasePath, options);
    }

    QStringList fields(const QString& table) { return Database::open(DatabasePath).fieldNames(table); }

    QStringList customerListQueriesPresent() {
        Database db = Database::open(DatabasePath);
        QStringList present;
        for (const SavedQuery& q : data_CustomerListQueries())
            if (db.queryExists(q.name)) present << q.name;
        return present;
    }

    // Each case's balance as stored now, by key.
    QMap<qint64, qint64> balances(const QString& field) {
        QMap<qint64, qint64> result;
        Recordset rs = Database::open(DatabasePath).openDynaset(QStringLiteral("SELECT * FROM Cases"));
        for (; !rs.eof(); rs.moveNext())
            result.insert(rs.value(QStringLiteral("CaseID")).toLongLong(), rs.value(field).currencyScaled());
        return result;
    }

    static QMap<qint64, qint64> balances(const OldDatabaseContent& content) {
        QMap<qint64, qint64> result;
        for (const OldCase& c : content.cases)
            result.insert(c.caseId, c.balanceScaled);
        return result;
    }

    QStringList allQueryNames() {
        QStringList names;
        for (const SavedQuery& q : data_CustomerListQueries())
            names << q.name;
        return names;
    }
};

TEST_F(UpgradeTest, AnOlderDatabaseGetsTheWholeCurrentDesignAndKeepsItsData) {
    const OldDatabaseContent old = writeOld();
    ASSERT_FALSE(data_sGetFieldName(DatabasePath, "Address", "ShowAs"));
    ASSERT_TRUE(fields("Cases").contains("BalanceOwed"));

    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));

    const QStringList address = fields("Address");
    EXPECT_EQ(address.mid(address.size() - 2), QStringList({"ShowAs", "Email"})) << "added in this order";
    EXPECT_TRUE(data_sGetFieldName(DatabasePath, "Address", "ShowAs"));
    EXPECT_FALSE(fields("Cases").contains("BalanceOwed"));
    EXPECT_TRUE(fields("Cases").contains("BallanceOwed"));
    EXPECT_EQ(customerListQueriesPresent(), allQueryNames());
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());

    // The data is all there; the balances moved with their field.
    EXPECT_EQ(balances("BallanceOwed"), balances(old));
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Address"), old.customers.size());
    for (const OldCustomer& c : old.customers) {
        EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "LastName", "PrimaryKey", c.customerId),
                  Value(c.lastName));
        EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "ShowAs", "PrimaryKey", c.customerId),
                  Value(""))
            << "new ShowAs values are empty";
    }
    EXPECT_EQ(data_vCheckDBValue(SettingsDatabasePath, "Config", "Memo", "", ""),
              Value("Kept from the old release"));

    // The queries work on the upgraded tables.
    int openCases = 0;
    for (const OldCase& c : old.cases)
        openCases += c.open ? 1 : 0;
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_CustomerListWithOpenCaseExtendedDetails"), openCases);
    Recordset extended =
        Database::open(DatabasePath).openDynaset("q_CustomerListWithOpenCaseExtendedDetails");
    for (; !extended.eof(); extended.moveNext()) {
        const qint64 key = extended.value("CaseID").toLongLong();
        EXPECT_EQ(extended.value("BallanceOwed").currencyScaled(), balances(old).value(key));
    }
    extended.close();

    // ShowAs takes 160 characters and an empty text; Email 50.
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    rs.edit();
    rs.setValue("ShowAs", Value(QString(160, 'S')));
    rs.setValue("Email", Value(QString(50, 'e')));
    rs.update();
    rs.edit();
    rs.setValue("ShowAs", Value(""));
    rs.update();
    rs.edit();
    EXPECT_EQ(errorNumberOf([&] { rs.setValue("ShowAs", Value(QString(161, 'S'))); }), 3163);
    EXPECT_EQ(errorNumberOf([&] { rs.setValue("Email", Value(QString(51, 'e'))); }), 3163);
    rs.cancelUpdate();
}

TEST_F(UpgradeTest, StepsWhoseWorkIsDoneFailQuietlyAndTheRestStillRuns) {
    // Email there already.
    OldDatabaseOptions withEmail;
    withEmail.withEmail = true;
    writeOld(withEmail);
    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));
    EXPECT_EQ(fields("Address").count("Email"), 1);
    EXPECT_TRUE(fields("Address").contains("ShowAs"));
    EXPECT_TRUE(fields("Cases").contains("BallanceOwed"));
    EXPECT_EQ(customerListQueriesPresent(), allQueryNames());
    EXPECT_TRUE(platform->messages.empty()) << "the duplicate Email is passed over without a word";

    // The balance spelled the new way already.
    OldDatabaseOptions newSpelling;
    newSpelling.balanceField = "BallanceOwed";
    const OldDatabaseContent old = writeOld(newSpelling);
    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));
    EXPECT_EQ(fields("Cases").count("BallanceOwed"), 1);
    EXPECT_EQ(balances("BallanceOwed"), balances(old));
    EXPECT_EQ(customerListQueriesPresent(), allQueryNames());
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(UpgradeTest, RunningTheUpgradeAgainChangesNothing) {
    const OldDatabaseContent old = writeOld();
    ASSERT_TRUE(data_UpgradeDatabase(DatabasePath));
    const QStringList address = fields("Address");
    const QStringList cases = fields("Cases");
    ASSERT_EQ(data_vChangeDBValue(DatabasePath, "Address", "ShowAs", Value("Okafor, Ada"), "PrimaryKey",
                                  old.customers.first().customerId),
              Value(""));

    EXPECT_TRUE(data_UpgradeDatabase(DatabasePath));
    EXPECT_EQ(fields("Address"), address);
    EXPECT_EQ(fields("Cases"), cases);
    EXPECT_EQ(customerListQueriesPresent(), allQueryNames());
    EXPECT_EQ(balances("BallanceOwed"), balances(old));
    EXPECT_EQ(
        data_vCheckDBValue(DatabasePath, "Address", "ShowAs", "PrimaryKey", old.customers.first().customerId),
        Value("Okafor, Ada"));
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(UpgradeTest, AnUpgradeThatCannotBeCompletedLeavesTheOldDesignForTheNextStart) {
    // No balance field of either spelling: the extended customer list cannot be made.
    OldDatabaseOptions noBalance;
    noBalance.balanceField = "Balance";
    const OldDatabaseContent old = writeOld(noBalance);
    const QStringList address = fields("Address");
    platform->errorAnswers.push_back({3, false});

    EXPECT_FALSE(data_UpgradeDatabase(DatabasePath));
    ASSERT_EQ(platform->errorReports.size(), 1u) << "the failing query is reported";
    EXPECT_EQ(platform->errorReports[0].location, "Database.bas ! data_CreateQuery");

    // Nothing of the upgrade stayed: ShowAs is still missing, so the next start upgrades again.
    EXPECT_FALSE(data_sGetFieldName(DatabasePath, "Address", "ShowAs"));
    EXPECT_EQ(fields("Address"), address);
    EXPECT_TRUE(customerListQueriesPresent().isEmpty());
    EXPECT_EQ(balances("Balance"), balances(old));
    // And the file takes changes afterwards: no transaction was left open.
    EXPECT_EQ(data_vChangeDBValue(DatabasePath, "Address", "City", Value("Sydney"), "PrimaryKey",
                                  old.customers.first().customerId),
              Value(""));
    Database::releaseAll();
    EXPECT_EQ(
        data_vCheckDBValue(DatabasePath, "Address", "City", "PrimaryKey", old.customers.first().customerId),
        Value("Sydney"));
}

TEST_F(UpgradeTest, CreatingAQueryTwiceLeavesOneWithTheNewerText) {
    data_CreateQuery(DatabasePath, "q_Test", "SELECT * FROM ListCheckTypes WHERE CheckType = \"NSF\"");
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_Test"), 1);
    data_CreateQuery(DatabasePath, "q_Test", "SELECT * FROM ListCheckTypes");
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "q_Test"), 2);
    EXPECT_TRUE(Database::open(DatabasePath).queryExists("q_Test"));
    EXPECT_TRUE(platform->messages.empty()) << "a query that is not there yet is no error";
    EXPECT_TRUE(platform->errorReports.empty());

    // A text that cannot be a query is reported, and the old query is gone all the same.
    platform->errorAnswers.push_back({3, false});
    data_CreateQuery(DatabasePath, "q_Test", "SELECT Nothing FROM NoSuchTable");
    EXPECT_EQ(platform->messages.size() + platform->errorReports.size(), 1u);
    EXPECT_FALSE(Database::open(DatabasePath).queryExists("q_Test"));
}

TEST_F(UpgradeTest, FieldTypeWordsAndCodes) {
    const std::vector<std::tuple<const char*, int, const char*>> words = {
        {"Number", 7, "DOUBLE"},   {"Yes/No", 1, "YESNO"},  {"Date/Time", 8, "DATETIME"},
        {"Date", 8, "DATETIME"},   {"Time", 8, "DATETIME"}, {"Double", 7, "DOUBLE"},
        {"Integer", 3, "INTEGER"}, {"Single", 6, "Single"}, {"Currency", 5, "Currency"},
        {"Memo", 12, "MEMO"},      {"Long", 4, "LONG"},     {"Text", 10, "TEXT"}};
    for (const auto& [word, code, sql] : words) {
        EXPECT_EQ(data_vDetermineFieldType(Value(word)), Value(code)) << word;
        EXPECT_EQ(data_vDetermineFieldType(Value(word), true), Value(sql)) << word;
    }
    // Letter case matters; anything else gives Empty.
    for (const char* other : {"text", "TEXT", "date", "Yes/no", "Text ", "Boolean", ""}) {
        EXPECT_TRUE(data_vDetermineFieldType(Value(other)).isEmpty()) << other;
        EXPECT_TRUE(data_vDetermineFieldType(Value(other), true).isEmpty()) << other;
    }
    EXPECT_TRUE(data_vDetermineFieldType(Value::null()).isEmpty());

    // Codes give display words; 7 is "Double", as "Number" has none of its own.
    const std::vector<std::pair<int, const char*>> codes = {{1, "Yes/No"},    {3, "Integer"}, {4, "Long"},
                                                            {5, "Currency"},  {6, "Single"},  {7, "Double"},
                                                            {8, "Date/Time"}, {10, "Text"},   {12, "Memo"}};
    for (const auto& [code, word] : codes) {
        EXPECT_EQ(data_vDetermineFieldType(Value(code)), Value(word)) << code;
        EXPECT_EQ(data_vDetermineFieldType(Value(code), true), Value(word)) << "the SQL choice is for words";
    }
    EXPECT_EQ(data_vDetermineFieldType(Value("10")), Value("Text")) << "a text that reads as a number";
    for (int other : {0, 2, 9, 11, 13, -1})
        EXPECT_TRUE(data_vDetermineFieldType(Value(other)).isEmpty()) << other;
    EXPECT_TRUE(data_vDetermineFieldType(Value(7.5)).isEmpty());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(UpgradeTest, AppendingAFieldWithADefaultOrACopyFillsTheRowsThereAre) {
    const OldDatabaseContent old = writeOld();

    AppendFieldOptions region;
    region.defaultValue = Value("East");
    EXPECT_TRUE(data_bAppendField("Region", "Text", 20, DatabasePath, "Address", region));
    for (const OldCustomer& c : old.customers)
        EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "Region", "PrimaryKey", c.customerId),
                  Value("East"));
    Recordset added = Database::open(DatabasePath).openTable("Address");
    added.addNew();
    added.setValue("LastName", Value("Newcomer"));
    added.update();
    EXPECT_EQ(added.value("Region"), Value("East")) << "the default holds for new rows too";
    added.close();

    // A date field copied from a text field, for the rows whose text reads as a date.
    const qint64 first = old.customers[0].customerId;
    const qint64 second = old.customers[1].customerId;
    const qint64 third = old.customers[2].customerId;
    data_vChangeDBValue(DatabasePath, "Address", "Misc", Value("3/14/2024"), "PrimaryKey", first);
    data_vChangeDBValue(DatabasePath, "Address", "Misc", Value("not a date"), "PrimaryKey", second);
    data_vChangeDBValue(DatabasePath, "Address", "Misc", Value("2023-11-02 09:30:00"), "PrimaryKey", third);
    AppendFieldOptions copy;
    copy.copyFromField = QStringLiteral("Misc");
    EXPECT_TRUE(data_bAppendField("FirstSeen", "Date", 0, DatabasePath, "Address", copy));
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "FirstSeen", "PrimaryKey", first),
              Value::date(QDate(2024, 3, 14)));
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "FirstSeen", "PrimaryKey", second), Value(""))
        << "left Null";
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "Address", "FirstSeen", "PrimaryKey", third),
              Value::date(QDateTime(QDate(2023, 11, 2), QTime(9, 30))));

    // Currency with a default: every case gets it, exactly.
    AppendFieldOptions fee;
    fee.defaultValue = Value::currency(12.5);
    EXPECT_TRUE(data_bAppendField("LateFee", "Currency", 0, DatabasePath, "Cases", fee));
    Recordset cases = Database::open(DatabasePath).openDynaset("SELECT * FROM Cases");
    int rows = 0;
    for (; !cases.eof(); cases.moveNext(), ++rows)
        EXPECT_EQ(cases.value("LateFee").currencyScaled(), 125000);
    EXPECT_EQ(rows, old.cases.size());
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(UpgradeTest, AppendingAFieldHonoursSizeTypeAndZeroLength) {
    writeOld();
    // Size is the length of a Text field; 16 makes no Text field number itself.
    EXPECT_TRUE(data_bAppendField("Badge", "Text", 16, DatabasePath, "Address"));
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    EXPECT_TRUE(rs.value("Badge").isNull()) << "existing rows get nothing";
    rs.edit();
    rs.setValue("Badge", Value(QString(16, 'B')));
    EXPECT_EQ(errorNumberOf([&] { rs.setValue("Badge", Value(QString(17, 'B'))); }), 3163);
    rs.update();
    rs.close();

    // Other types ignore the size.
    EXPECT_TRUE(data_bAppendField("Visits", "Long", 50, DatabasePath, "Address"));
    rs = Database::open(DatabasePath).openTable("Address");
    rs.edit();
    rs.setValue("Visits", Value(123456));
    rs.update();
    EXPECT_EQ(rs.value("Visits"), Value(qint64(123456)));
    rs.close();

    // A Text field that must not be empty.
    AppendFieldOptions strict;
    strict.allowZeroLength = false;
    EXPECT_TRUE(data_bAppendField("Region", "Text", 20, DatabasePath, "Address", strict));
    rs = Database::open(DatabasePath).openTable("Address");
    rs.edit();
    rs.setValue("Region", Value(""));
    EXPECT_NE(errorNumberOf([&] { rs.update(); }), 0);
    rs.cancelUpdate();
    rs.close();

    // A name that is taken: the message unless quiet, and false either way.
    EXPECT_FALSE(data_bAppendField("LastName", "Text", 50, DatabasePath, "Address"));
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Field names must be unique. That field name already exists.");
    EXPECT_EQ(platform->messages[0].title, "Duplicate Field Name");
    EXPECT_EQ(platform->messages[0].style, 16);
    AppendFieldOptions quiet;
    quiet.quiet = true;
    EXPECT_FALSE(data_bAppendField("lastname", "Text", 50, DatabasePath, "Address", quiet));
    EXPECT_EQ(platform->messages.size(), 1u);

    // A type word the engine does not know is an error, reported, and adds nothing.
    const QStringList before = fields("Address");
    platform->errorAnswers.push_back({3, false});
    EXPECT_FALSE(data_bAppendField("Odd", "text", 10, DatabasePath, "Address"));
    EXPECT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(fields("Address"), before);

    // A Long of size 16 asks to number itself, which only a table's key does: reported, nothing added.
    platform->errorAnswers.push_back({3, false});
    EXPECT_FALSE(data_bAppendField("Counter", "Long", 16, DatabasePath, "Address"));
    EXPECT_EQ(platform->errorReports.size(), 2u);
    EXPECT_EQ(fields("Address"), before);
}

TEST_F(UpgradeTest, RenamingAFieldKeepsItsDataAndMissingOnesFailQuietly) {
    const OldDatabaseContent old = writeOld();
    EXPECT_TRUE(data_bAlterFieldName(DatabasePath, "Cases", "BalanceOwed", "Outstanding"));
    EXPECT_EQ(balances("Outstanding"), balances(old));
    Recordset rs = Database::open(DatabasePath).openTable("Cases");
    EXPECT_EQ(rs.value("Outstanding").kind(), Value::Kind::Currency);
    rs.close();

    EXPECT_FALSE(data_bAlterFieldName(DatabasePath, "Cases", "BalanceOwed", "Outstanding2"));
    EXPECT_FALSE(data_bAlterFieldName(DatabasePath, "NoSuchTable", "A", "B"));
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->errorReports.empty());
}

} // namespace
