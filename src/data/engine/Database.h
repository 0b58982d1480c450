#pragma once

#include "core/Value.h"
#include "data/engine/Recordset.h"

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class Connection;

// The field type codes of the classic engine, as used by FieldDef.
namespace FieldType {
constexpr int Boolean = 1;  // declared YESNO, stored 1/0
constexpr int Integer = 3;  // 16-bit, declared SHORT
constexpr int Long = 4;     // 32-bit, declared LONG (INTEGER for a key)
constexpr int Currency = 5; // declared CURRENCY, stored as the amount * 10 000
constexpr int Single = 6;   // declared SINGLE
constexpr int Double = 7;   // declared DOUBLE
constexpr int Date = 8;     // declared DATETIME, stored as 'YYYY-MM-DD HH:MM:SS'
constexpr int Text = 10;    // declared TEXT(size) COLLATE NOCASE
constexpr int Memo = 12;    // declared LONGTEXT COLLATE NOCASE
} // namespace FieldType

struct FieldDef {
    FieldDef() = default;
    FieldDef(QString name, int type = FieldType::Text, int size = 0, bool autoIncrement = false,
             bool allowZeroLength = true, std::optional<Value> defaultValue = std::nullopt)
        : name(std::move(name)), type(type), size(size), autoIncrement(autoIncrement),
          allowZeroLength(allowZeroLength), defaultValue(std::move(defaultValue)) {}

    QString name;
    int type = FieldType::Text;
    int size = 0;               // the length of a Text field; 0 gives 255
    bool autoIncrement = false; // only for the key field given to createTable
    bool allowZeroLength = true;
    std::optional<Value> defaultValue;
};

// One row of Database::readRows, read where it lies: the columns by their place in the SELECT. Valid
// only while the row is being handed over.
class RowReader {
public:
    int columnCount() const;
    bool isNull(int column) const; // Null (or no value at all)
    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArrayView utf8(int column) const; // the text as stored, without making a QString of it
    // The date part of a date column (an invalid date for Null); read straight from the stored text.
    QDate date(int column) const;
    // The stored text of a date column when it is a real date and time in the stored form
    // 'YYYY-MM-DD HH:MM:SS'; empty for Null or anything else.
    QByteArrayView storedDateTime(int column) const;
    Value value(int column) const; // the column's value as a record set gives it (by its declared type)
    bool isTextColumn(int column) const; // declared as text: utf8() gives its value as stored
    // The kind the column is declared as (Empty for an expression), and whether this row holds an
    // integer in it: then integer() is the stored number (a Yes/No as 0/-1, currency in ten-thousandths).
    Value::Kind declaredKind(int column) const;
    bool holdsInteger(int column) const;

private:
    friend class Database;
    struct Impl;
    explicit RowReader(const Impl& impl) : d(impl) {}
    const Impl& d;
};

// A database file, after the classic desktop database object.
//
// open() is cheap: one SQLite connection per file is kept open behind the scenes and shared by every
// Database opened on that path, so that a record operation can open the file, do its work and let go as
// if it had the file to itself. Changes are written at once (autocommit) unless a transaction is open;
// a transaction belongs to the file's shared connection, so it covers every operation on that file.
//
// Every error is a DbError with the engine's number (the mapping is in throwSqlite, Connection.cpp):
// 3024 missing file, 3044 missing folder, 3045 file in use, 3343 not a database, 3078 no such table...
class Database {
public:
    Database(); // not open: every call raises 3420

    // Opens an existing database file for shared use; never creates one.
    static Database open(const QString& path);
    // Opens a file that nobody else may hold: 3045 while any program holds it (holdSharedLock) or has it
    // open exclusively. The exclusive hold ends with close() or when the last copy of this Database goes.
    static Database openExclusive(const QString& path);
    // Creates a new, empty database file (3204 when the file exists) and opens it.
    static Database create(const QString& path);

    // Marks the file as in use by this running program until release()/releaseAll() or the end of the
    // process, so that an exclusive open or compaction by another program fails. 3045 when the file is
    // open exclusively.
    static void holdSharedLock(const QString& path);
    // Closes the cached connection of the file and drops this program's shared hold on it. Recordsets and
    // Databases still open on it raise 3420 from then on.
    static void release(const QString& path);
    static void releaseAll();

    // Checks that a file is a whole database: raises 3024 when it is not there, 3343 when it is
    // damaged or no database at all. Reads the file, changes nothing.
    static void checkIntegrity(const QString& path);
    // Writes a compacted copy of source to newFile. Needs the source exclusively (3045); 3204 when newFile
    // exists; 3343 when the source is damaged. The new file is checked before this returns.
    static void compactDatabase(const QString& source, const QString& newFile);

    bool isOpen() const;
    QString path() const;
    void close(); // lets go of this Database; an exclusive one gives up the file at once

    Recordset openTable(const QString& table);
    // A table name, a saved query name or an SQL SELECT in the classic dialect.
    Recordset openDynaset(const QString& sourceOrSql);
    // Reads an SQL SELECT in the classic dialect once from front to back, handing each row to row as it
    // is read and keeping none: the quick way through a long list that is only shown.
    void readRows(const QString& sql, const std::function<void(const RowReader&)>& row);
    // The same with values bound to the parameters ?1, ?2 ... of the SQL text (texts and whole numbers
    // as they are stored), so that typed text never becomes part of the statement.
    void readRows(const QString& sql, const QList<Value>& parameters,
                  const std::function<void(const RowReader&)>& row);
    // An action query (INSERT, UPDATE, DELETE, or a design statement) in the classic dialect; returns the
    // number of rows affected. A statement that fails leaves no partial change. With failOnError = false,
    // rows that would break a key or constraint are skipped silently (as OR IGNORE).
    int execute(const QString& sql, bool failOnError = true);

    // Design
    bool tableExists(const QString& name);
    bool queryExists(const QString& name);
    QStringList fieldNames(const QString& table); // in table order; 3078 for a missing table
    void createTable(const QString& name, const QList<FieldDef>& fields, const QString& keyField = QString());
    // An index named "<table>_<indexName>" in the file; Recordset::setIndex(indexName) finds it.
    void createIndex(const QString& indexName, const QString& table, const QString& column,
                     bool unique = false);
    void appendField(const QString& table, const FieldDef& field);
    void renameField(const QString& table, const QString& oldName, const QString& newName);
    // A saved query: a view made from the classic-dialect SELECT. 3012 when the name is taken.
    void createQuery(const QString& name, const QString& classicSql);
    void deleteQuery(const QString& name); // 3265 when there is no such query

    // Transactions (may nest); 3034 for a commit or rollback without a transaction.
    void beginTrans();
    void commitTrans();
    void rollback();

private:
    explicit Database(std::shared_ptr<Connection> connection);
    Connection& connection() const;

    std::shared_ptr<Connection> m_connection;
};
