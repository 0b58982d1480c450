// Design changes, saved queries, action queries, transactions and compaction.

#include "EngineTestUtil.h"

#include <QFileInfo>

class EngineDesign : public EngineFixture {};

TEST_F(EngineDesign, FieldsAreListedAppendedAndRenamedWithTheirData) {
    EXPECT_EQ(db.fieldNames(QStringLiteral("cases")),
              QStringList({"CaseID", "CustomerID", "Amount", "CaseOpen", "Opened"}));
    addCase(1, 5, true);

    db.appendField(QStringLiteral("Cases"), {QStringLiteral("Reason"), FieldType::Text, 10});
    db.appendField(QStringLiteral("Cases"),
                   {QStringLiteral("Fee"), FieldType::Currency, 0, false, true, Value(2.5)});
    EXPECT_EQ(db.fieldNames(QStringLiteral("Cases")).mid(5), QStringList({"Reason", "Fee"}));
    Recordset rs = db.openTable(QStringLiteral("Cases"));
    EXPECT_TRUE(rs.value(QStringLiteral("Reason")).isNull());
    EXPECT_EQ(rs.value(QStringLiteral("Fee")), Value::currency(2.5));
    rs.edit();
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("Reason"), Value("Insufficient")); }), 3163);
    rs.setValue(QStringLiteral("Reason"), Value("NSF"));
    rs.update();

    db.createQuery(QStringLiteral("qryReasons"), QStringLiteral("SELECT CaseID, Reason FROM Cases"));
    db.renameField(QStringLiteral("Cases"), QStringLiteral("reason"), QStringLiteral("ReturnReason"));
    EXPECT_EQ(db.fieldNames(QStringLiteral("Cases"))[5], QStringLiteral("ReturnReason"));
    Recordset renamed = db.openTable(QStringLiteral("Cases"));
    EXPECT_EQ(renamed.value(QStringLiteral("ReturnReason")), Value("NSF"));
    renamed.edit();
    EXPECT_EQ(errorNumber([&] { renamed.setValue(QStringLiteral("ReturnReason"), Value("0123456789x")); }),
              3163);
    EXPECT_EQ(db.openDynaset(QStringLiteral("qryReasons")).recordCount(), 1);
    EXPECT_EQ(errorNumber([&] {
                  db.appendField(QStringLiteral("Cases"), {QStringLiteral("Bad"), 99});
              }),
              3259);
}

TEST_F(EngineDesign, SavedQueriesKeepTheirOrderAndCanBeReplaced) {
    for (const char* name : {"Carter", "able", "Baker"})
        addCustomer(QString::fromUtf8(name), QStringLiteral("Cork"));
    EXPECT_FALSE(db.queryExists(QStringLiteral("qryByName")));
    db.createQuery(
        QStringLiteral("qryByName"),
        QStringLiteral("SELECT CustomerID, LastName FROM Customers WHERE City = \"CORK\" ORDER BY LastName"));
    EXPECT_TRUE(db.queryExists(QStringLiteral("QRYBYNAME")));
    EXPECT_FALSE(db.tableExists(QStringLiteral("qryByName")));
    EXPECT_TRUE(db.tableExists(QStringLiteral("Customers")));

    Recordset rs = db.openDynaset(QStringLiteral("qryByName"));
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names.append(rs.value(QStringLiteral("LastName")).toString());
    EXPECT_EQ(names, QStringList({"able", "Baker", "Carter"}));
    EXPECT_TRUE(rs.updatable()); // a query over one table can be edited like the table

    Recordset viaSql = db.openDynaset(QStringLiteral("SELECT * FROM qryByName WHERE LastName <> \"able\""));
    EXPECT_EQ(viaSql.value(QStringLiteral("LastName")), Value("Baker"));

    EXPECT_EQ(errorNumber([&] { db.createQuery(QStringLiteral("qryByName"), QStringLiteral("SELECT 1")); }),
              3012);
    EXPECT_EQ(errorNumber([&] {
                  db.createQuery(QStringLiteral("qryBad"), QStringLiteral("SELECT Missing FROM Cases"));
              }),
              3265);
    EXPECT_EQ(
        errorNumber([&] { db.createQuery(QStringLiteral("qryBad"), QStringLiteral("SELEKT * FROM Cases")); }),
        3061);
    EXPECT_FALSE(db.queryExists(QStringLiteral("qryBad")));

    db.deleteQuery(QStringLiteral("qryByName"));
    EXPECT_FALSE(db.queryExists(QStringLiteral("qryByName")));
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("qryByName")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.deleteQuery(QStringLiteral("Customers")); }), 3265);
}

TEST_F(EngineDesign, ActionQueriesReportRowsAndLeaveNoPartialChange) {
    addCustomer(QStringLiteral("Able"));
    addCustomer(QStringLiteral("Baker"));
    addCustomer(QStringLiteral("Carter"));
    EXPECT_EQ(db.execute(QStringLiteral("UPDATE Customers SET City = \"Cork\" WHERE LastName <> 'Baker'")),
              2);

    // The second row would collide with the first: the statement changes nothing.
    const QString collide =
        QStringLiteral("UPDATE Customers SET CustomerID = 10 WHERE LastName <> \"Carter\"");
    EXPECT_EQ(errorNumber([&] { db.execute(collide); }), 3022);
    EXPECT_EQ(db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE CustomerID = 10")).recordCount(),
              0);
    // Without fail-on-error the colliding row is skipped and the rest is done.
    EXPECT_EQ(db.execute(collide, false), 1);
    EXPECT_EQ(db.openDynaset(QStringLiteral("SELECT * FROM Customers WHERE CustomerID = 10")).recordCount(),
              1);

    EXPECT_EQ(db.execute(QStringLiteral("DELETE FROM Customers WHERE City Is Null")), 1);
    EXPECT_EQ(errorNumber([&] { db.execute(QStringLiteral("SELECT * FROM Customers")); }), 3065);
}

TEST_F(EngineDesign, TransactionsCommitRollBackAndNest) {
    db.beginTrans();
    addCustomer(QStringLiteral("Kept"));
    db.beginTrans();
    addCustomer(QStringLiteral("Dropped"));
    db.rollback();
    db.commitTrans();
    db.beginTrans();
    addCustomer(QStringLiteral("AlsoDropped"));
    // Another Database on the same file shares the transaction.
    EXPECT_EQ(Database::open(path).openTable(QStringLiteral("Customers")).recordCount(), 2);
    db.rollback();
    Recordset rs = Database::open(path).openDynaset(QStringLiteral("Customers"));
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(QStringLiteral("LastName")), Value("Kept"));
    EXPECT_EQ(errorNumber([&] { db.commitTrans(); }), 3034);
    EXPECT_EQ(errorNumber([&] { db.rollback(); }), 3034);
}

class EngineCompact : public EngineFixture {};

TEST_F(EngineCompact, MakesACompleteCopyAndRefusesDamagedSources) {
    for (int i = 0; i < 200; ++i)
        addCustomer(QStringLiteral("Customer %1").arg(i));
    db.execute(QStringLiteral("DELETE FROM Customers WHERE CustomerID > 10"));
    db.createQuery(QStringLiteral("qryFirst"),
                   QStringLiteral("SELECT * FROM Customers WHERE CustomerID < 5"));
    const QString copy = dir.filePath(QStringLiteral("Compact.db"));
    Database::compactDatabase(path, copy);
    EXPECT_LT(QFileInfo(copy).size(), QFileInfo(path).size());
    Database compacted = Database::open(copy);
    EXPECT_EQ(compacted.openTable(QStringLiteral("Customers")).recordCount(), 10);
    EXPECT_EQ(compacted.openDynaset(QStringLiteral("qryFirst")).recordCount(), 4);
    Recordset rs = compacted.openTable(QStringLiteral("Customers"));
    rs.addNew();
    EXPECT_EQ(rs.value(QStringLiteral("CustomerID")), Value(qint64(201))); // keys are not reused
    rs.cancelUpdate();

    EXPECT_EQ(errorNumber([&] { Database::compactDatabase(path, copy); }), 3204);

    // A file whose pages past the header are overwritten.
    const QString damaged = dir.filePath(QStringLiteral("Damaged.db"));
    ASSERT_TRUE(QFile::copy(copy, damaged));
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    f.seek(4096);
    f.write(QByteArray(size - 4096, '\x5a'));
    f.close();
    const QString fromDamaged = dir.filePath(QStringLiteral("FromDamaged.db"));
    EXPECT_EQ(errorNumber([&] { Database::compactDatabase(damaged, fromDamaged); }), 3343);
    EXPECT_FALSE(QFileInfo::exists(fromDamaged));
}
