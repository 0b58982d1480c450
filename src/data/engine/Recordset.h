#pragma once

#include "core/Value.h"

#include <QString>
#include <memory>

class Connection;

// A set of records with a current position, read and written field by field, after the classic desktop
// database objects.
//
// Table type (Database::openTable): one table in the order of its current index (setIndex), without an
// index in key (rowid) order. Rows are located with small queries as they are needed; nothing is loaded
// in advance. Positioned on the first row when opened.
//
// Dynaset type (Database::openDynaset): the rows of a table, a saved query or an SQL text. A set over a
// single table is updatable and reads only the current row: in key order (no ORDER BY) it moves through
// the table with the set's condition, one small query per move or find; with an ORDER BY it keeps the row
// ids in set order (equal rows in key order). Other sets (joins, DISTINCT, GROUP BY ...) are read on
// opening and are read-only (3027). Positioned on the first row when opened. recordCount() is always
// exact; in a set in key order it counts with a query, so rows changed meanwhile are counted as they are now.

// Movement follows the classic rules: moving past the last row sets EOF, moving on from there raises 3021;
// an empty set has BOF and EOF both true. Reading or changing a field with no current row raises 3021.
//
// Editing: edit() or addNew(), setValue() for each field, then update() (or cancelUpdate()). Values are
// converted to the field's type when they are set (AppError 13 for text that does not convert, 3163 for
// text longer than the field, 3349 for a number out of the field's range). The key of a new row can be read
// as soon as addNew() is called; after update() the new row is the current row.
// Each change is written at once (autocommit) unless a transaction is open on the database.
class Recordset {
public:
    enum class Type { Table, Dynaset };
    enum class EditMode { None, Edit, AddNew };

    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    Type type() const;
    bool updatable() const;
    void close();

    // Position
    bool bof() const;
    bool eof() const;
    bool noMatch() const; // after the last seek or find
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    int recordCount() const;
    int absolutePosition() const; // 0-based position in a dynaset, -1 without a current row or for tables

    // Table type only (3251 otherwise): "PrimaryKey" or the name of an index made with createIndex().
    void setIndex(const QString& indexName);
    const QString& index() const;
    // Comparison "=", ">=", ">", "<=" or "<" against the current index; the first row that matches
    // ("<" and "<=": the last one). Without a match noMatch() is true and there is no current row.
    void seek(const QString& comparison, const Value& key);

    // Dynaset type only (3251 otherwise): a criterion in the classic dialect, such as
    // CustomerID = 3 AND LastName = "O""Brien". Without a match noMatch() is true and the position stays.
    void findFirst(const QString& criterion);
    void findLast(const QString& criterion);
    void findNext(const QString& criterion);
    void findPrevious(const QString& criterion);

    // Fields; names ignore letter case. An unknown name raises 3265.
    int fieldCount() const;
    QString fieldName(int index) const;
    Value value(const QString& field) const;
    Value operator[](const QString& field) const { return value(field); }
    void setValue(const QString& field, const Value& value);

    // Editing
    EditMode editMode() const;
    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void remove(); // deletes the current row; move to another row afterwards

private:
    friend class Database;
    struct Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);
    static Recordset openTable(const std::shared_ptr<Connection>& connection, const QString& table);
    static Recordset openDynaset(const std::shared_ptr<Connection>& connection, const QString& source);
    Impl& impl() const;

    std::unique_ptr<Impl> d;
};
