#pragma once

// The engine's own plumbing over SQLite's C API: one open database file, its prepared statements,
// what it knows of the tables, the mapping of SQLite conditions onto the program's error numbers, and
// the conversion of values between their stored and logical forms. Not used outside src/data/engine.

#include "core/Value.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <sqlite3.h>
#include <sys/types.h>

// What the engine was doing when SQLite reported a condition; it decides the number of a lock error.
enum class DbOp {
    Open,      // opening or reading: a lock gives 3045
    RowWrite,  // writing a row through a recordset: 3260
    BulkWrite, // an action query: 3261
    Schema,    // changing the design or a transaction: 3050
};

[[noreturn]] void throwSqlite(sqlite3* db, int rc, DbOp op, const QString& path);

// Error numbers the engine raises.
namespace DbErr {
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int NotInTransaction = 3034;
constexpr int PathNotFound = 3044;
constexpr int FileInUse = 3045;
constexpr int CannotLockFile = 3050;
constexpr int SqlSyntax = 3061;
constexpr int TableNotFound = 3078;
constexpr int UpdateWithoutEdit = 3020;
constexpr int FieldTooSmall = 3163;
constexpr int RecordDeleted = 3167;
constexpr int DuplicateField = 3191;
constexpr int DatabaseExists = 3204;
constexpr int InvalidOperation = 3219;
constexpr int RowLocked = 3260;
constexpr int TableLocked = 3261;
constexpr int ItemNotFound = 3265;
constexpr int UnrecognizedFormat = 3343;
constexpr int NumericOverflow = 3349;
constexpr int ObjectInvalid = 3420;
constexpr int NotAnIndex = 3015;
constexpr int ObjectExists = 3012;
constexpr int InvalidFieldType = 3259;
} // namespace DbErr

[[noreturn]] void throwItemNotFound(const QString& name);

enum class ColumnKind { Unknown, Boolean, Integer, Currency, Double, Date, Text };

struct ColumnInfo {
    QString name;
    QString declType;
    ColumnKind kind = ColumnKind::Unknown;
    int size = 0;       // the declared length of a TEXT(n) column, 0 when unlimited
    int bits = 64;      // the width of an integer column: 16 (SHORT), 32 (LONG) or 64
    Value defaultValue; // logical form of the column's DEFAULT, Null when none
};

ColumnInfo columnFromDecl(const QString& name, const QString& declType);

struct TableInfo {
    QString name;
    bool isView = false;
    QString sql; // the CREATE statement
    QList<ColumnInfo> columns;
    QHash<QString, int> byName; // lower-case name -> column
    int rowidColumn = -1;       // the INTEGER PRIMARY KEY column
    int primaryKeyColumn = -1;  // that, or the single-column primary key of another type
    bool autoIncrement = false;
    struct Index {
        QString name;
        QString column;
    };
    QList<Index> indexes;

    int column(const QString& name) const { return byName.value(name.toLower(), -1); }
};

class Connection {
public:
    // Opens an existing file (never creates one, except with create = true for a new database).
    Connection(const QString& path, bool create);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& path() const { return m_path; }
    sqlite3* handle() const;
    bool isOpen() const { return m_db != nullptr; }
    void close();
    // Lets SQLite gather the statistics its query plans need: a bounded ANALYZE of the tables that lack
    // them (everything = true: of every table). Best effort: a file that cannot be written now is left as
    // it is.
    void updateStatistics(bool everything) noexcept;

    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }
    int lockFd = -1;          // the descriptor holding an exclusive flock, or -1
    int transactionDepth = 0; // BeginTrans nesting

    // A cached prepared statement for this SQL text; a fresh one when the cached one is in use.
    sqlite3_stmt* acquire(const QString& sql, DbOp op, bool& owned);
    // Runs statements that return no rows (DDL, transaction control).
    void exec(const QString& sql, DbOp op);

    // What the engine knows of a table or view (cached until the next design change through the engine);
    // null when there is none of that name.
    std::shared_ptr<const TableInfo> table(const QString& name);
    // The same, but 3078 when there is no table or view of that name.
    std::shared_ptr<const TableInfo> requireTable(const QString& name);
    void invalidateSchema();

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QHash<QString, sqlite3_stmt*> m_statements;
    QHash<QString, std::shared_ptr<const TableInfo>> m_tables;
};

// One use of a prepared statement: reset when it goes out of scope, so that no read lock outlives the
// call that needed it.
class Stmt {
public:
    Stmt(Connection& connection, const QString& sql, DbOp op);
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    void bind(int index, const Value& stored); // 1-based; a stored-form Value (Null/Integer/Double/Text)
    bool step();                               // true: a row; false: done; throws on errors
    void reset();                              // ready to bind and step again
    int columnCount() const { return sqlite3_column_count(m_stmt); }
    Value stored(int column) const; // the column's value in stored form
    Value logical(int column, ColumnKind kind) const;
    sqlite3_stmt* get() const { return m_stmt; }

private:
    Connection& m_connection;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_owned = false;
    DbOp m_op;
};

// Conversions between the logical Value of a column and the form stored in SQLite (Null, Integer,
// Double or Text): Yes/No as 1/0, Currency as the amount * 10 000, dates as 'YYYY-MM-DD HH:MM:SS'.
Value toStored(const Value& value, const ColumnInfo& column);
Value fromStored(const Value& stored, ColumnKind kind);
ColumnKind kindFromStorage(int sqliteType);
QString storedDate(const QDateTime& dateTime);
QString sqlLiteral(const Value& stored);
