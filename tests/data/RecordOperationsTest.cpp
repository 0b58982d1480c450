#include "core/ErrorHandling.h"
#include "data/ConfigSettings.h"
#include "data/DataTestUtil.h"
#include "widgets/DataWidgets.h"

#include <QComboBox>
#include <functional>
#include <memory>

namespace {

class RecordOperationsTest : public DataTest {};

TEST_F(RecordOperationsTest, CheckValueGivesTheValueOrTheAskedMarker) {
    const qint64 key = addCase(addCustomer("Gray"), true,
                               {{"ReferenceNumber", Value("E8A3F0")},
                                {"CheckAmount", Value::currency(150.25)},
                                {"CollectionDollar", Value::currency(0)},
                                {"CollectionPercent", Value(0.0)}});
    const Value missing(key + 100);
    const struct {
        const char* field;
        Value key;
        CheckOptions options;
        Value expected;
    } cases[] = {
        {"ReferenceNumber", Value(key), {}, Value("E8A3F0")},
        {"ReferenceNumber", Value(QString::number(key)), {}, Value("E8A3F0")}, // a key given as text
        {"CheckAmount", Value(key), {}, Value::currency(150.25)},
        {"ReferenceNumber", missing, {}, Value(-99)},
        {"ReferenceNumber", missing, {.notFoundAsEmpty = true}, Value("")},
        {"Stage", Value(key), {}, Value("")}, // Null reads as an empty text
        {"Stage", Value(key), {.nullAsMinus99 = true}, Value(-99)},
        {"Stage", Value(key), {.zeroAsMinus99 = true}, Value("")}, // Null is not zero
        {"CollectionDollar", Value(key), {}, Value::currency(0)},
        {"CollectionDollar", Value(key), {.zeroAsMinus99 = true}, Value(-99)},
        {"CollectionPercent", Value(key), {.zeroAsMinus99 = true}, Value(-99)},
        {"CheckAmount", Value(key), {.zeroAsMinus99 = true}, Value::currency(150.25)},
        {"CaseOpen", Value(key), {.zeroAsMinus99 = true}, Value(true)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(caseValue(c.field, c.key, c.options), c.expected)
            << c.field << " " << c.key.toString().toStdString();
    // As a dynaset: the first row of a table or a saved query.
    EXPECT_EQ(data_vCheckDBValue(DatabasePath, "q_CustomerListWithOpenCase", "ShowAs", "", Value(),
                                 {.useDynaset = true}),
              Value("Gray"));
    EXPECT_TRUE(nothingSaid());
}

TEST_F(RecordOperationsTest, EmptyConfigReadsEmptySilentlyAndTheFirstWriteMakesTheRow) {
    for (const CheckOptions options : {CheckOptions{}, CheckOptions{.nullAsMinus99 = true}})
        EXPECT_TRUE(data_vCheckDBValue(SettingsDatabasePath, "Config", "NSFfee", "", {}, options).isEmpty());
    EXPECT_FALSE(config_Text("CollectionCompanyName").has_value());
    EXPECT_EQ(config_Number("NSFfee"), 0.0);
    EXPECT_FALSE(config_Bool("IncludeNSF"));
    EXPECT_EQ(countRows("Config"), 0) << "reading makes no row";

    EXPECT_EQ(data_vChangeDBValue(SettingsDatabasePath, "Config", "NSFfee", Value::currency(25), "", Value()),
              Value(""));
    config_Write("CollectionCompanyName", Value("Reliable Collections"));
    config_Write("IncludeNSF", Value(true));
    EXPECT_EQ(countRows("Config"), 1) << "later writes change the one row";
    EXPECT_EQ(data_vCheckDBValue(SettingsDatabasePath, "Config", "NSFfee", "", Value()), Value::currency(25));
    EXPECT_EQ(config_Text("CollectionCompanyName"), std::optional<QString>("Reliable Collections"));
    EXPECT_TRUE(config_Bool("IncludeNSF"));
    EXPECT_FALSE(config_Text("Memo").has_value()) << "a field of the row never written is Null";
    EXPECT_TRUE(nothingSaid());
}

TEST_F(RecordOperationsTest, ChangeValueWritesTheKeyedRowOrAnswersNoMatch) {
    const qint64 customer = addCustomer("Hill");
    const qint64 first = addCase(customer, true, {{"Bank", Value("First")}});
    const qint64 second = addCase(customer, true, {{"Bank", Value("Second")}});
    const QString banks =
        "SELECT group_concat(CaseID || ':' || Bank || ':' || ifnull(Branch, '-')) FROM Cases";

    EXPECT_EQ(caseChange("Bank", Value("Changed"), Value(second)), Value(""));
    EXPECT_EQ(rawText(banks), QStringLiteral("%1:First:-,%2:Changed:-").arg(first).arg(second));
    EXPECT_EQ(caseChange("Bank", Value("Lost"), Value(second + 10)), Value("NoMatch"));
    EXPECT_EQ(caseChange("Branch", Value("Main"), Value(), ""), Value("")) << "no index: the first row";
    EXPECT_EQ(rawText(banks), QStringLiteral("%1:First:Main,%2:Changed:-").arg(first).arg(second));

    // An empty table: "NoMatch" with an index name; without one, the first row is made.
    ASSERT_TRUE(data_bDeleteSpecificRecordsInTable(DatabasePath, "DELETE FROM Cases"));
    EXPECT_EQ(caseChange("Bank", Value("Lost"), Value(first)), Value("NoMatch"));
    EXPECT_EQ(countRows("Cases"), 0);
    EXPECT_EQ(caseChange("Bank", Value("New"), Value(), ""), Value(""));
    EXPECT_EQ(rawText("SELECT group_concat(Bank) FROM Cases"), "New");
    EXPECT_TRUE(nothingSaid());
}

TEST_F(RecordOperationsTest, ChangeValueThatCannotBeStoredChangesNothing) {
    const qint64 key = addCase(addCustomer("Ives"), true, {{"CheckAmount", Value::currency(10)}});
    const QString amount = QStringLiteral("SELECT CheckAmount FROM Cases WHERE CaseID = %1").arg(key);
    platform->errorAnswers.push_back({ErrorActions::Leave, false});
    EXPECT_TRUE(caseChange("CheckAmount", Value("ten dollars"), Value(key)).isEmpty()) << "not done";
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 13);
    EXPECT_EQ(platform->errorReports[0].location, "Database.bas ! data_vChangeDBValue");
    EXPECT_EQ(rawText(amount), "100000");
    EXPECT_EQ(caseChange("CheckAmount", Value("$12.50"), Value(key)), Value(""));
    EXPECT_EQ(rawText(amount), "125000");
}

TEST_F(RecordOperationsTest, DeleteRecordRemovesTheKeyedRowOrSaysItWasNotFound) {
    const qint64 a = addCustomer("Jay");
    const qint64 b = addCustomer("Kay");
    data_DeleteRecord(DatabasePath, "Address", "PrimaryKey", Value(a));
    EXPECT_EQ(rawText("SELECT group_concat(CustomerID) FROM Address"), QString::number(b));
    EXPECT_TRUE(nothingSaid());

    data_DeleteRecord(DatabasePath, "Address", "PrimaryKey", Value(a));
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Couldn't delete the record. It wasn't found. Report this error.");
    EXPECT_EQ(platform->messages[0].title, "Unexpected Error");
    EXPECT_EQ(platform->messages[0].style, 16);
    data_DeleteRecord(DatabasePath, "Address", "PrimaryKey", Value(a), true);
    EXPECT_EQ(platform->messages.size(), 1u) << "quiet: no second message";
    EXPECT_EQ(countRows("Address"), 1);
}

TEST_F(RecordOperationsTest, DeleteSpecificRecordsIsAllOrNothing) {
    const qint64 keep = addCustomer("Lane");
    const qint64 gone = addCustomer("Moss");
    addCase(keep, true);
    const QString goneCases = QStringLiteral("DELETE FROM Cases WHERE CustomerID = %1").arg(gone);
    for (int i = 0; i < 3; ++i) addCase(gone, false);
    EXPECT_TRUE(data_bDeleteSpecificRecordsInTable(DatabasePath, goneCases));
    EXPECT_EQ(countRows("Cases"), 1);
    EXPECT_TRUE(data_bDeleteSpecificRecordsInTable(DatabasePath, "DELETE FROM Cases WHERE CustomerID = 0"))
        << "no row matching is no failure";
    EXPECT_FALSE(data_bDeleteSpecificRecordsInTable(DatabasePath, "DELETE FROM Cases WHERE"));
    EXPECT_EQ(messageTitles(), QStringList{"Invalid database query"});

    // A statement stopped half-way leaves every row in place.
    for (int i = 0; i < 3; ++i) addCase(gone, false);
    const qint64 guarded = addCase(gone, false);
    for (int i = 0; i < 3; ++i) addCase(gone, false);
    const QString guard = QStringLiteral("CREATE TRIGGER Guard BEFORE DELETE ON Cases WHEN old.CaseID = %1 "
                                         "BEGIN SELECT RAISE(ABORT, 'this row is kept'); END")
                              .arg(guarded);
    ASSERT_EQ(OtherSession(DatabasePath).exec(guard.toUtf8().constData()), SQLITE_OK);
    Database::releaseAll(); // the design changed behind the program's back
    platform->errorAnswers.push_back({ErrorActions::Leave, false});
    EXPECT_FALSE(data_bDeleteSpecificRecordsInTable(DatabasePath, goneCases));
    EXPECT_EQ(countRows("Cases"), 8);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "Database.bas ! data_bDeleteSpecificRecordsInTable");
}

TEST_F(RecordOperationsTest, ListingItemsSkipNullsAndKeepTheirOwnItemData) {
    const qint64 a = addCustomer("Nash");
    const qint64 b = addCustomer("Owen");
    const qint64 c = addCustomer("Park");
    addCase(a, true, {{"CollectionCompany", Value("Agency One")}});
    addCase(c, false, {{"CollectionCompany", Value("Agency Two")}});
    addCase(c, false, {{"CollectionCompany", Value("Agency One")}});
    // Owen loses his display name: his row is skipped, and the others keep their own keys.
    Database::open(DatabasePath)
        .execute(QStringLiteral("UPDATE Address SET ShowAs = Null WHERE CustomerID = %1").arg(b));

    const QString nash = "Nash:" + QString::number(a);
    EXPECT_EQ(listed("Address", "ShowAs", "CustomerID"), QStringList({nash, "Park:" + QString::number(c)}));
    EXPECT_EQ(listed("q_CustomerListWithOpenCase", "ShowAs", "CustomerID"), QStringList{nash});
    EXPECT_EQ(listed("Address", "ShowAs"), QStringList({"Nash", "Park"}));
    QStringList agencies;
    for (const ListItem& item : data_DistinctListingItems(DatabasePath, "Cases", "CollectionCompany"))
        agencies << item.text;
    agencies.sort();
    EXPECT_EQ(agencies, (QStringList{"Agency One", "Agency Two"}));

    // The screens' list fills through the same reading, replacing what it held.
    QWidget owner;
    auto* list = new QComboBox(&owner);
    list->addItem("stale");
    data_PopulateListingCombo(&owner, DatabasePath, "Address", "ShowAs", list, "CustomerID");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), "Park");
    EXPECT_EQ(list->itemData(1).toLongLong(), c);
    EXPECT_TRUE(nothingSaid());
}

TEST_F(RecordOperationsTest, SearchCriteriaQuoteTextsAndFindTheRightCustomer) {
    EXPECT_EQ(data_SearchCriteria("LastName", Value("Smith"), true), "LastName = \"Smith\"");
    EXPECT_EQ(data_SearchCriteria("CustomerID", Value(42), false), "CustomerID = 42");
    EXPECT_EQ(data_SearchCriteria("Misc", Value("2\" pipe"), true), "Misc = \"2\"\" pipe\"");

    // A value made to look like more of the criterion is only ever a value.
    addCustomer("Pipe", {{"Misc", Value("2\" pipe")}});
    Recordset rs = Database::open(DatabasePath).openDynaset("Address");
    rs.findFirst(data_SearchCriteria("Misc", Value("nobody\" Or \"1\" = \"1"), true));
    EXPECT_TRUE(rs.noMatch());
}

TEST_F(RecordOperationsTest, FieldNamesAndFieldTests) {
    QComboBox searchBy;
    searchBy.addItem("kept");
    data_PopulateListingWithFieldNames(DatabasePath, "Address", &searchBy);
    EXPECT_EQ(searchBy.count(), 30) << "appended after what the list held";
    EXPECT_EQ(searchBy.itemText(1), "CustomerID");

    EXPECT_TRUE(data_sGetFieldName(DatabasePath, "Cases", "BallanceOwed"));
    EXPECT_FALSE(data_sGetFieldName(DatabasePath, "Cases", "BalanceOwed"));
    EXPECT_FALSE(data_sGetFieldName(DatabasePath, "Addresses", "ShowAs"));
    EXPECT_FALSE(data_sGetFieldName(DatabasePath, "Address", ""));
    EXPECT_TRUE(nothingSaid()) << "a missing table or field is no error";

    EXPECT_FALSE(data_sGetFieldName(DataFolder + "Missing.mdb", "Address", "ShowAs"));
    EXPECT_TRUE(data_FieldNames(DatabasePath, "Addresses").isEmpty());
    EXPECT_EQ(messageTitles(), QStringList({"Invalid database name - database not found",
                                            "Database table not found"})) << "short messages, no report";
}

TEST_F(RecordOperationsTest, RecordCountsOfTablesQueriesAndSqlTexts) {
    Database db = Database::open(DatabasePath);
    EXPECT_TRUE(data_bIsRecordsetEmpty(db.openTable("Cases")));
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Cases"), 0);
    const qint64 a = addCustomer("Quinn");
    const qint64 b = addCustomer("Reed");
    addCustomer("Shaw");
    for (int i = 0; i < 5; ++i)
        addCase(a, i % 2 == 0, {{"Stage", Value(i < 2 ? "Police" : "Collection")}});
    addCase(b, false);
    db.createQuery("SelectedOpenCases", "Select * FROM Cases WHERE CaseOpen = True");

    const std::pair<const char*, int> counts[] = {
        {"Cases", 6},
        {"q_CustomerListWithOrWithoutCase", 7},
        {"q_CustomerListWithOpenCase", 1},
        {"Select * FROM Cases WHERE CaseOpen = True;", 3},
        {"  select * from Cases where Stage = \"Police\" ORDER BY CaseID; ", 2},
        {"SELECT DISTINCT CustomerID FROM Cases", 2},
        {"SelectedOpenCases", 3}, // a saved query whose name begins with Select
        {"SELECT Stage FROM Cases WHERE Stage = \"O'Hara; \"\"x\"\"\"", 0}};
    for (const auto& [source, count] : counts)
        EXPECT_EQ(data_lGetRecordCount(DatabasePath, source), count) << source;
    EXPECT_TRUE(nothingSaid());

    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Select * FROM Casez"), 0);
    EXPECT_EQ(data_lGetRecordCount(DatabasePath, "Select * FROM Cases WHERE"), 0);
    EXPECT_EQ(messageTitles(), QStringList({"Database table not found", "Invalid database query"}))
        << "short messages, no report";

    EXPECT_TRUE(data_bIsRecordsetEmpty(db.openDynaset("Select * FROM Address WHERE ShowAs = \"Nobody\"")));
    Recordset rs = db.openDynaset("Address");
    EXPECT_FALSE(data_bIsRecordsetEmpty(rs));
    rs.moveLast();
    rs.moveNext();
    ASSERT_TRUE(rs.eof());
    EXPECT_FALSE(data_bIsRecordsetEmpty(rs)) << "past the end is not empty";
}

TEST_F(RecordOperationsTest, OtherErrorsReachTheReportWithTheOperationsName) {
    addCase(addCustomer("Upton"), true);
    platform->errorAnswers.assign(4, {ErrorActions::Leave, false});
    EXPECT_TRUE(caseValue("NoSuchField", Value(1)).isEmpty());
    EXPECT_TRUE(caseChange("NoSuchField", Value(1), Value(1)).isEmpty());
    EXPECT_TRUE(data_ListingItems(DatabasePath, "Cases", "NoSuchField").isEmpty());
    EXPECT_TRUE(caseValue("Stage", Value(1), {}, "NoSuchIndex").isEmpty());
    const char* where[] = {"data_vCheckDBValue", "data_vChangeDBValue", "data_PopulateListingCombo",
                           "data_vCheckDBValue"};
    ASSERT_EQ(platform->errorReports.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(platform->errorReports[i].location, QString("Database.bas ! ") + where[i]);
    EXPECT_EQ(platform->errorReports[0].number + platform->errorReports[1].number, 2 * 3265);
    EXPECT_TRUE(platform->messages.empty());

    // A missing table and a missing file give their short messages and no result.
    EXPECT_TRUE(data_vCheckDBValue(DatabasePath, "Casez", "Stage", "PrimaryKey", Value(1)).isEmpty());
    data_DeleteRecord(DatabasePath, "Casez", "PrimaryKey", Value(1));
    EXPECT_TRUE(
        data_vChangeDBValue(DataFolder + "Missing.mdb", "Config", "Memo", Value("x"), "", Value()).isEmpty());
    EXPECT_EQ(messageTitles(), QStringList({"Database table not found", "Database table not found",
                                            "Invalid database name - database not found"}));
    EXPECT_FALSE(QFileInfo::exists(DataFolder + "Missing.mdb")) << "a missing file is never made";
}

// ---- a file held by another program

class LockedFileTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        caseKey = addCase(addCustomer("Vance"), true, {{"Bank", Value("Before")}});
        other = std::make_unique<OtherSession>(DatabasePath);
    }
    void lock() { ASSERT_EQ(other->exec("BEGIN EXCLUSIVE; UPDATE Cases SET Stage = 'Held';"), SQLITE_OK); }
    void unlock() { ASSERT_EQ(other->exec("ROLLBACK"), SQLITE_OK); }
    // Lets the other program go during the given wait (of 60 event rounds each) of this call.
    void unlockDuringWait(int wait) {
        const int start = platform->processEventsCalls;
        platform->onProcessEvents = [this, start, wait] {
            if (platform->processEventsCalls - start == (wait - 1) * 60 + 1) unlock();
        };
    }
    Value read() { return caseValue("Bank", Value(caseKey)); }
    Value change(const char* bank) { return caseChange("Bank", Value(bank), Value(caseKey)); }
    static QString row() { return rawText("SELECT Bank || '/' || ifnull(Stage, '-') FROM Cases"); }

    qint64 caseKey = 0;
    std::unique_ptr<OtherSession> other;
};

TEST_F(LockedFileTest, EachCallIsTriedFourTimesThenTheUserIsToldAndNothingChanges) {
    const std::pair<const char*, std::function<Value()>> calls[] = {
        {"data_vCheckDBValue", [this] { return read(); }},
        {"data_vChangeDBValue", [this] { return change("After"); }}};
    lock();
    int rounds = 0;
    for (const auto& [procedure, call] : calls) {
        for (int again = 0; again < 2; ++again) { // the count of tries belongs to the call
            SCOPED_TRACE(procedure);
            platform->messages.clear();
            const QDateTime start = platform->clock;
            EXPECT_TRUE(call().isEmpty()) << "not reported as done";
            EXPECT_EQ(start.msecsTo(platform->clock), 9000) << "three waits of three seconds";
            EXPECT_EQ(platform->processEventsCalls, rounds += 180);
            ASSERT_EQ(platform->messages.size(), 1u);
            EXPECT_EQ(platform->messages[0].text,
                      QString(procedure) +
                          "\rCould not complete function. File was in use.\r\r"
                          "This may not be a concern. But, if appropriate, cancel and/or redo the function.");
            EXPECT_EQ(platform->messages[0].title, "Locked Database File");
            EXPECT_EQ(platform->messages[0].style, 48);
        }
    }
    EXPECT_TRUE(platform->errorReports.empty());
    unlock();
    EXPECT_EQ(row(), "Before/-");
    EXPECT_EQ(read(), Value("Before"));
    EXPECT_EQ(platform->processEventsCalls, rounds) << "a free file is read at once";
}

TEST_F(LockedFileTest, WriteLockedRowIsReportedAtOnceAndNothingChanges) {
    // The other program is writing but has not finished: reading works, writing does not.
    ASSERT_EQ(other->exec("BEGIN IMMEDIATE; UPDATE Cases SET Stage = 'Pending';"), SQLITE_OK);
    EXPECT_EQ(read(), Value("Before"));
    EXPECT_TRUE(change("After").isEmpty()) << "not reported as done";
    EXPECT_EQ(platform->processEventsCalls, 0) << "no waiting: the row lock is no locked file";
    EXPECT_EQ(messageTitles(), QStringList{"Database locked by another user"});
    unlock();
    EXPECT_EQ(row(), "Before/-");
}

TEST_F(LockedFileTest, ReleasedDuringAWaitTheOperationSucceeds) {
    lock();
    unlockDuringWait(1);
    EXPECT_EQ(read(), Value("Before"));
    EXPECT_EQ(platform->processEventsCalls, 60) << "one wait, then the second try worked";

    // A change that succeeds on its third try (the next call has its own four: see above).
    lock();
    unlockDuringWait(2);
    EXPECT_EQ(change("After"), Value(""));
    EXPECT_EQ(platform->processEventsCalls, 60 + 120);
    EXPECT_EQ(rawText("SELECT Bank FROM Cases"), "After");
    EXPECT_TRUE(nothingSaid());
}

} // namespace
