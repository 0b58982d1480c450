// Each error the engine reports, produced by a real cause. (Those the record operations show as short
// messages, such as a missing table or file or a query that is no SQL, are checked by their titles there.)

#include "EngineTestUtil.h"

#include <QFileInfo>

class EngineErrors : public EngineFixture {};

TEST_F(EngineErrors, OpeningAMissingFileOrFolderOrAFileThatIsNoDatabase) {
    const QString missingFile = dir.filePath("Nowhere.db");
    const QString missingFolder = dir.filePath("NoFolder/Data.db");
    EXPECT_ERROR(3044, Database::open(missingFolder));
    EXPECT_ERROR(3024, Database::openExclusive(missingFile));
    EXPECT_ERROR(3044, Database::holdSharedLock(missingFolder));
    EXPECT_FALSE(QFileInfo::exists(missingFile)) << "nothing is created";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("NoFolder")));

    for (const QByteArray& content : {QByteArray(8192, 'x'), QByteArray()}) {
        ASSERT_TRUE(writeFile(dir.filePath("NoDatabase.db"), content));
        EXPECT_ERROR(3343, Database::open(dir.filePath("NoDatabase.db"))) << content.size();
    }

    // A file deleted while its connection is cached is missing too.
    Database::open(path);
    db.close();
    Database::releaseAll();
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_ERROR(3024, Database::open(path));
}

TEST_F(EngineErrors, UnknownTablesFieldsIndexesAndQueries) {
    EXPECT_ERROR(3078, db.appendField("Missing", {"Amount", FieldType::Currency}));
    EXPECT_ERROR(3265, db.openDynaset("SELECT Missing FROM Cases"));
    EXPECT_ERROR(3265, db.renameField("Cases", "Missing", "X"));
    EXPECT_ERROR(3015, db.openTable("Cases").setIndex("Missing"));
}

TEST_F(EngineErrors, BadSqlDuplicateFieldsAndDuplicateKeys) {
    EXPECT_ERROR(3191, db.appendField("Cases", {"amount", FieldType::Currency}));
    addCustomer("Able");
    addCustomer("Baker");
    db.createIndex("LastName", "Customers", "LastName", true);
    Recordset rs = db.openTable("Customers");
    rs.addNew();
    rs.setValue("LastName", Value("ABLE")); // the unique index ignores letter case
    EXPECT_ERROR(3022, rs.update());
    EXPECT_EQ(db.openTable("Customers").recordCount(), 2);
}

TEST_F(EngineErrors, NoCurrentRecord) {
    Recordset empty = db.openDynaset("Cases");
    EXPECT_ERROR(3021, empty.value("CaseID"));
    EXPECT_ERROR(3021, empty.edit());
    EXPECT_ERROR(3021, empty.remove());

    addCustomer("Able");
    Recordset one = db.openTable("Customers");
    one.moveNext();
    EXPECT_TRUE(one.eof());
    EXPECT_ERROR(3021, one.value("LastName"));
    EXPECT_ERROR(3021, one.moveNext());
    EXPECT_ERROR(3020, one.update());
}

TEST_F(EngineErrors, ValuesThatDoNotFitTheirField) {
    Recordset rs = db.openTable("Customers");
    rs.addNew();
    EXPECT_ERROR(ErrNo::TypeMismatch, rs.setValue("Balance", Value("twelve")));
    EXPECT_ERROR(ErrNo::TypeMismatch, rs.setValue("Since", Value("someday")));
    EXPECT_ERROR(3164, rs.setValue("CustomerID", Value(5)));
    // (Texts too long and numbers too large: the limits of the design, in the schema tests.)
    rs.setValue("LastName", Value(QString(30, u'x')));
    rs.update();

    rs.addNew();
    rs.setValue("LastName", Value(""));
    EXPECT_ERROR(3315, rs.update()) << "a zero-length name is refused by the field's rule";
}

TEST_F(EngineErrors, ReleasedDatabaseObjectsAreNoLongerSet) {
    addCustomer("Able");
    Recordset rs = db.openTable("Customers");
    Database::releaseAll();
    EXPECT_ERROR(3420, rs.moveFirst());
    EXPECT_ERROR(3420, db.openTable("Customers"));
    EXPECT_ERROR(3420, Database().fieldNames("Customers"));
    EXPECT_EQ(Database::open(path).openTable("Customers").recordCount(), 1) << "a fresh open sees the data";
}

class EngineLocks : public EngineFixture {};

TEST_F(EngineLocks, ExclusiveWriterBlocksOpeningAndReading) {
    addCustomer("Able");
    OtherSession other(path);
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE; UPDATE Customers SET City = 'Held';"), SQLITE_OK);

    EXPECT_ERROR(3045, db.openTable("Customers").value("City"));
    Database::releaseAll();
    EXPECT_ERROR(3045, Database::open(path));

    ASSERT_EQ(other.exec("COMMIT"), SQLITE_OK);
    EXPECT_EQ(Database::open(path).openTable("Customers").value("City"), Value("Held"));
}

TEST_F(EngineLocks, PendingWriterBlocksRowWritesActionQueriesAndDesign) {
    const qint64 id = addCustomer("Able");
    Recordset rs = db.openTable("Customers");
    OtherSession other(path);
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE; UPDATE Customers SET City = 'Other';"), SQLITE_OK);

    EXPECT_EQ(rs.value("LastName"), Value("Able")) << "reading works while the other has not committed";
    rs.edit();
    rs.setValue("City", Value("Mine"));
    EXPECT_ERROR(3260, rs.update());
    rs.cancelUpdate();
    EXPECT_ERROR(3260, rs.remove());
    EXPECT_ERROR(3261, db.execute("UPDATE Customers SET City = 'Mine'"));
    EXPECT_ERROR(3050, db.appendField("Customers", {"Phone", FieldType::Text, 20}));

    ASSERT_EQ(other.exec("ROLLBACK"), SQLITE_OK);
    rs.edit();
    rs.setValue("City", Value("Mine"));
    rs.update();
    EXPECT_EQ(other.text(QStringLiteral("SELECT City FROM Customers WHERE CustomerID = %1").arg(id).toUtf8()),
              "Mine");
    EXPECT_EQ(db.fieldNames("Customers").size(), 8) << "no field added";
}
