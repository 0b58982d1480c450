// Each error the engine reports, produced by a real cause.

#include "EngineTestUtil.h"

#include <QDir>
#include <QFileInfo>

class EngineErrors : public EngineFixture {};

TEST_F(EngineErrors, MissingFileOrFolderIsReportedAndNothingIsCreated) {
    const QString missingFile = dir.filePath(QStringLiteral("Nowhere.db"));
    const QString missingFolder = dir.filePath(QStringLiteral("NoFolder/Data.db"));
    EXPECT_EQ(errorNumber([&] { Database::open(missingFile); }), 3024);
    EXPECT_EQ(errorNumber([&] { Database::open(missingFolder); }), 3044);
    EXPECT_EQ(errorNumber([&] { Database::openExclusive(missingFile); }), 3024);
    EXPECT_EQ(errorNumber([&] { Database::holdSharedLock(missingFolder); }), 3044);
    EXPECT_FALSE(QFileInfo::exists(missingFile));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("NoFolder"))));

    // A file deleted while its connection is cached is missing too.
    Database::open(path);
    db.close();
    Database::releaseAll();
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(errorNumber([&] { Database::open(path); }), 3024);
}

TEST_F(EngineErrors, FileThatIsNoDatabaseIsAnUnrecognizedFormat) {
    const QString garbage = dir.filePath(QStringLiteral("Garbage.db"));
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    EXPECT_EQ(errorNumber([&] { Database::open(garbage); }), 3343);

    const QString empty = dir.filePath(QStringLiteral("Empty.db"));
    QFile e(empty);
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.close();
    EXPECT_EQ(errorNumber([&] { Database::open(empty); }), 3343);
}

TEST_F(EngineErrors, UnknownTablesFieldsAndQueries) {
    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Missing")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("Missing")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("SELECT * FROM Missing")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.fieldNames(QStringLiteral("Missing")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.execute(QStringLiteral("DELETE FROM Missing")); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("SELECT Missing FROM Cases")); }), 3265);
    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Cases")).value(QStringLiteral("Missing")); }),
              3265);
    EXPECT_EQ(errorNumber([&] { db.deleteQuery(QStringLiteral("qryNothing")); }), 3265);
    EXPECT_EQ(errorNumber([&] {
                  db.renameField(QStringLiteral("Cases"), QStringLiteral("Missing"), QStringLiteral("X"));
              }),
              3265);
    EXPECT_EQ(errorNumber([&] {
                  db.renameField(QStringLiteral("Missing"), QStringLiteral("A"), QStringLiteral("B"));
              }),
              3265);
    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Cases")).setIndex(QStringLiteral("Missing")); }),
              3015);
}

TEST_F(EngineErrors, BadSqlDuplicateFieldsAndDuplicateKeys) {
    EXPECT_EQ(errorNumber([&] { db.execute(QStringLiteral("DELETE FORM Cases")); }), 3061);
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("SELECT * FROM Cases WHERE (CaseID = ")); }),
              3061);
    EXPECT_EQ(errorNumber([&] {
                  db.appendField(QStringLiteral("Cases"), {QStringLiteral("amount"), FieldType::Currency});
              }),
              3191);
    EXPECT_EQ(errorNumber([&] {
                  db.appendField(QStringLiteral("Missing"), {QStringLiteral("Amount"), FieldType::Currency});
              }),
              3078);

    const qint64 first = addCustomer(QStringLiteral("Able"));
    addCustomer(QStringLiteral("Baker"));
    EXPECT_EQ(
        errorNumber([&] {
            db.execute(
                QStringLiteral("UPDATE Customers SET CustomerID = %1 WHERE LastName = \"Baker\"").arg(first));
        }),
        3022);
    db.createIndex(QStringLiteral("LastName"), QStringLiteral("Customers"), QStringLiteral("LastName"), true);
    Recordset rs = db.openTable(QStringLiteral("Customers"));
    rs.addNew();
    rs.setValue(QStringLiteral("LastName"), Value("ABLE")); // the unique index ignores letter case
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3022);
    EXPECT_EQ(db.openTable(QStringLiteral("Customers")).recordCount(), 2);
}

TEST_F(EngineErrors, NoCurrentRecord) {
    Recordset empty = db.openDynaset(QStringLiteral("Cases"));
    EXPECT_TRUE(empty.bof());
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(errorNumber([&] { empty.value(QStringLiteral("CaseID")); }), 3021);
    EXPECT_EQ(errorNumber([&] { empty.edit(); }), 3021);
    EXPECT_EQ(errorNumber([&] { empty.remove(); }), 3021);
    EXPECT_EQ(errorNumber([&] { empty.moveNext(); }), 3021);
    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Cases")).movePrevious(); }), 3021);

    addCustomer(QStringLiteral("Able"));
    Recordset one = db.openTable(QStringLiteral("Customers"));
    one.moveNext();
    EXPECT_TRUE(one.eof());
    EXPECT_EQ(errorNumber([&] { one.value(QStringLiteral("LastName")); }), 3021);
    EXPECT_EQ(errorNumber([&] { one.moveNext(); }), 3021);
    EXPECT_EQ(errorNumber([&] { one.update(); }), 3020);
}

TEST_F(EngineErrors, ValuesThatDoNotFitTheirField) {
    Recordset rs = db.openTable(QStringLiteral("Customers"));
    rs.addNew();
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("LastName"), Value(QString(31, u'x'))); }), 3163);
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("Balance"), Value("twelve")); }),
              ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("Since"), Value("someday")); }),
              ErrNo::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("Visits"), Value(40000)); }), 3349);
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("CustomerID"), Value(5)); }), 3164);
    EXPECT_EQ(errorNumber([&] { rs.setValue(QStringLiteral("Missing"), Value(5)); }), 3265);
    rs.setValue(QStringLiteral("LastName"), Value(QString(30, u'x')));
    rs.setValue(QStringLiteral("Notes"), Value(QString(5000, u'n')));
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("Notes")).toString().size(), 5000);

    // A zero-length name is refused by the field's rule.
    rs.addNew();
    rs.setValue(QStringLiteral("LastName"), Value(""));
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3315);
}

TEST_F(EngineErrors, ReleasedDatabaseObjectsAreNoLongerSet) {
    addCustomer(QStringLiteral("Able"));
    Recordset rs = db.openTable(QStringLiteral("Customers"));
    Database::releaseAll();
    EXPECT_EQ(errorNumber([&] { rs.moveFirst(); }), 3420);
    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Customers")); }), 3420);
    EXPECT_EQ(errorNumber([] { Database().fieldNames(QStringLiteral("Customers")); }), 3420);
    // A fresh open works again and sees the data.
    EXPECT_EQ(Database::open(path).openTable(QStringLiteral("Customers")).recordCount(), 1);
}

class EngineLocks : public EngineFixture {};

TEST_F(EngineLocks, ExclusiveWriterBlocksOpeningAndReading) {
    addCustomer(QStringLiteral("Able"));
    OtherSession other(path);
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE; UPDATE Customers SET City = 'Held';"), SQLITE_OK);

    EXPECT_EQ(errorNumber([&] { db.openTable(QStringLiteral("Customers")).value(QStringLiteral("City")); }),
              3045);
    EXPECT_EQ(errorNumber([&] { db.openDynaset(QStringLiteral("Customers")); }), 3045);
    Database::releaseAll();
    EXPECT_EQ(errorNumber([&] { Database::open(path); }), 3045);

    ASSERT_EQ(other.exec("COMMIT"), SQLITE_OK);
    EXPECT_EQ(Database::open(path).openTable(QStringLiteral("Customers")).value(QStringLiteral("City")),
              Value("Held"));
}

TEST_F(EngineLocks, PendingWriterBlocksRowWritesActionQueriesAndDesign) {
    const qint64 id = addCustomer(QStringLiteral("Able"));
    Recordset rs = db.openTable(QStringLiteral("Customers"));
    OtherSession other(path);
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE; UPDATE Customers SET City = 'Other';"), SQLITE_OK);

    // Reading still works while the other session has not committed.
    EXPECT_EQ(rs.value(QStringLiteral("LastName")), Value("Able"));
    rs.edit();
    rs.setValue(QStringLiteral("City"), Value("Mine"));
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3260);
    rs.cancelUpdate();
    rs.addNew();
    rs.setValue(QStringLiteral("LastName"), Value("Baker"));
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3260);
    rs.cancelUpdate();
    EXPECT_EQ(errorNumber([&] { rs.remove(); }), 3260);
    EXPECT_EQ(errorNumber([&] { db.execute(QStringLiteral("UPDATE Customers SET City = 'Mine'")); }), 3261);
    EXPECT_EQ(errorNumber([&] {
                  db.appendField(QStringLiteral("Customers"), {QStringLiteral("Phone"), FieldType::Text, 20});
              }),
              3050);

    ASSERT_EQ(other.exec("ROLLBACK"), SQLITE_OK);
    rs.edit();
    rs.setValue(QStringLiteral("City"), Value("Mine"));
    rs.update();
    EXPECT_EQ(other.text(QStringLiteral("SELECT City FROM Customers WHERE CustomerID = %1").arg(id).toUtf8()),
              QStringLiteral("Mine"));
    EXPECT_EQ(db.fieldNames(QStringLiteral("Customers")).size(), 10);
}

TEST_F(EngineLocks, ExclusiveOpenAndCompactionFailWhileAnotherProgramHoldsTheFile) {
    Database::holdSharedLock(path); // as every running copy of the program does
    EXPECT_EQ(errorNumber([&] { Database::openExclusive(path); }), 3045);
    EXPECT_EQ(errorNumber([&] { Database::compactDatabase(path, dir.filePath(QStringLiteral("New.db"))); }),
              3045);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("New.db"))));

    Database::releaseAll();
    Database exclusive = Database::openExclusive(path);
    EXPECT_EQ(exclusive.fieldNames(QStringLiteral("Config")).size(), 2);
    EXPECT_EQ(errorNumber([&] { Database::holdSharedLock(path); }), 3045);
    EXPECT_EQ(errorNumber([&] { Database::openExclusive(path); }), 3045);
    exclusive.close();
    Database::holdSharedLock(path);
}
