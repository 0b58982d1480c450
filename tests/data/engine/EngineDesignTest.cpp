// Design changes, saved queries, action queries, transactions and compaction.

#include "EngineTestUtil.h"

#include <QFileInfo>

class EngineDesign : public EngineFixture {};

TEST_F(EngineDesign, FieldsAreListedAppendedAndRenamedWithTheirData) {
    EXPECT_EQ(db.fieldNames("cases"), QStringList({"CaseID", "CustomerID", "Amount", "CaseOpen", "Opened"}));
    addCase(1, 5, true);

    db.appendField("Cases", {"Reason", FieldType::Text, 10});
    EXPECT_EQ(db.fieldNames("Cases").mid(5), QStringList({"Reason"}));
    Recordset rs = db.openTable("Cases");
    rs.edit();
    rs.setValue("Reason", Value("NSF"));
    rs.update();

    db.createQuery("qryReasons", "SELECT CaseID, Reason FROM Cases");
    db.renameField("Cases", "reason", "ReturnReason");
    EXPECT_EQ(db.fieldNames("Cases")[5], "ReturnReason");
    Recordset renamed = db.openTable("Cases");
    EXPECT_EQ(renamed.value("ReturnReason"), Value("NSF"));
    renamed.edit();
    EXPECT_ERROR(3163, renamed.setValue("ReturnReason", Value("0123456789x")));
    EXPECT_EQ(db.openDynaset("qryReasons").recordCount(), 1) << "a query over the field follows the new name";
    EXPECT_ERROR(3259, db.appendField("Cases", {"Bad", 99}));
}

TEST_F(EngineDesign, SavedQueriesKeepTheirOrderAndCanBeReplaced) {
    for (const char* name : {"Carter", "able", "Baker"})
        addCustomer(name, "Cork");
    EXPECT_FALSE(db.queryExists("qryByName"));
    db.createQuery("qryByName",
                   "SELECT CustomerID, LastName FROM Customers WHERE City = \"CORK\" ORDER BY LastName");
    EXPECT_TRUE(db.queryExists("QRYBYNAME"));
    EXPECT_FALSE(db.tableExists("qryByName"));
    EXPECT_TRUE(db.tableExists("Customers"));

    Recordset rs = db.openDynaset("qryByName");
    EXPECT_EQ(column(rs, "LastName"), QStringList({"able", "Baker", "Carter"}));
    EXPECT_TRUE(rs.updatable()) << "a query over one table can be edited like the table";
    EXPECT_EQ(db.openDynaset("SELECT * FROM qryByName WHERE LastName <> \"able\"").value("LastName"),
              Value("Baker"));

    EXPECT_ERROR(3012, db.createQuery("qryByName", "SELECT 1"));
    EXPECT_ERROR(3265, db.createQuery("qryBad", "SELECT Missing FROM Cases"));
    EXPECT_ERROR(3061, db.createQuery("qryBad", "SELEKT * FROM Cases"));
    EXPECT_FALSE(db.queryExists("qryBad"));

    db.deleteQuery("qryByName");
    EXPECT_FALSE(db.queryExists("qryByName"));
    EXPECT_ERROR(3265, db.deleteQuery("Customers"));
}

TEST_F(EngineDesign, ActionQueriesReportRowsAndLeaveNoPartialChange) {
    for (const char* name : {"Able", "Baker", "Carter"})
        addCustomer(name);
    EXPECT_EQ(db.execute("UPDATE Customers SET City = \"Cork\" WHERE LastName <> 'Baker'"), 2);

    // The second row would collide with the first: the statement changes nothing. Without fail-on-error
    // the colliding row is skipped and the rest is done.
    const QString collide = "UPDATE Customers SET CustomerID = 10 WHERE LastName <> \"Carter\"";
    const QString tenth = "SELECT * FROM Customers WHERE CustomerID = 10";
    EXPECT_ERROR(3022, db.execute(collide));
    EXPECT_EQ(db.openDynaset(tenth).recordCount(), 0);
    EXPECT_EQ(db.execute(collide, false), 1);
    EXPECT_EQ(db.openDynaset(tenth).recordCount(), 1);

    EXPECT_EQ(db.execute("DELETE FROM Customers WHERE City Is Null"), 1);
    EXPECT_ERROR(3065, db.execute("SELECT * FROM Customers"));
}

TEST_F(EngineDesign, TransactionsCommitRollBackAndNest) {
    db.beginTrans();
    addCustomer("Kept");
    db.beginTrans();
    addCustomer("Dropped");
    db.rollback();
    db.commitTrans();
    db.beginTrans();
    addCustomer("AlsoDropped");
    EXPECT_EQ(Database::open(path).openTable("Customers").recordCount(), 2)
        << "another Database on the same file shares the transaction";
    db.rollback();
    Recordset rs = Database::open(path).openDynaset("Customers");
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("LastName"), Value("Kept"));
    EXPECT_ERROR(3034, db.commitTrans());
    EXPECT_ERROR(3034, db.rollback());
}

class EngineCompact : public EngineFixture {};

TEST_F(EngineCompact, CopiesTablesQueriesKeysAndStatisticsButNeverOverAFileNorFromADamagedOne) {
    for (int i = 0; i < 20; ++i)
        addCase(addCustomer(QStringLiteral("Customer %1").arg(i)), i, i % 2 == 0);
    db.execute("DELETE FROM Customers WHERE CustomerID = 20");
    db.createQuery("qryFirst", "SELECT * FROM Customers WHERE CustomerID < 5");
    db.close();
    Database::releaseAll();
    const QString copy = dir.filePath("Compact.db");
    Database::compactDatabase(path, copy);
    EXPECT_GE(OtherSession(copy).text("SELECT count(*) FROM sqlite_stat1 WHERE tbl = 'Cases'").toInt(), 1);
    Database compacted = Database::open(copy);
    EXPECT_EQ(compacted.openTable("Customers").recordCount(), 19);
    EXPECT_EQ(compacted.openDynaset("qryFirst").recordCount(), 4);
    EXPECT_EQ(compacted.openDynaset("SELECT * FROM Cases WHERE CaseOpen = True").recordCount(), 10);
    Recordset rs = compacted.openTable("Customers");
    rs.addNew();
    EXPECT_EQ(rs.value("CustomerID"), Value(qint64(21))) << "the copy keeps counting from where the file was";
    rs.cancelUpdate();
    compacted.close();
    Database::release(copy);
    EXPECT_EQ(OtherSession(copy).text("PRAGMA quick_check"), "ok") << "released after its statistics";
    EXPECT_ERROR(3204, Database::compactDatabase(path, copy));

    // A file whose pages past the header are overwritten.
    const QString damaged = dir.filePath("Damaged.db");
    const QByteArray good = bytesOf(copy);
    ASSERT_GT(good.size(), 4096);
    ASSERT_TRUE(writeFile(damaged, good.left(4096) + QByteArray(good.size() - 4096, '\x5a')));
    const QString fromDamaged = dir.filePath("FromDamaged.db");
    EXPECT_ERROR(3343, Database::compactDatabase(damaged, fromDamaged));
    EXPECT_FALSE(QFileInfo::exists(fromDamaged));
}
