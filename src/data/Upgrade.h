#pragma once

#include "core/Value.h"

#include <QString>
#include <optional>

// Changes to the design of a database made by an earlier release, and the upgrade that brings such a
// database to the current design (the customers' ShowAs and Email fields, the balance field spelled
// BallanceOwed, the seven saved customer-list queries, the find index).

// The engine's type code for a type word, or the display word for a type code:
//   word        code  SQL word     display word for the code
//   "Number"      7   "DOUBLE"     -
//   "Yes/No"      1   "YESNO"      "Yes/No"
//   "Date/Time", "Date", "Time"
//                 8   "DATETIME"   "Date/Time"
//   "Double"      7   "DOUBLE"     "Double"
//   "Integer"     3   "INTEGER"    "Integer"
//   "Single"      6   "Single"     "Single"
//   "Currency"    5   "Currency"   "Currency"
//   "Memo"       12   "MEMO"       "Memo"
//   "Long"        4   "LONG"       "Long"
//   "Text"       10   "TEXT"       "Text"
// A word gives its code, or with asSqlWord its SQL word; words are compared exactly (letter case
// matters), "Number" first. A number gives the display word of that code. Anything else gives Empty.
// Errors are reported with "Utility.bas ! ".
Value data_vDetermineFieldType(const Value& typeIn, bool asSqlWord = false);

// The optional arguments of data_bAppendField; each counts when it is set.
struct AppendFieldOptions {
    std::optional<Value> defaultValue{};    // the field's default, also written into every existing row
    std::optional<QString> copyFromField{}; // rows whose value there reads as a date get it copied over
    std::optional<bool> allowZeroLength{};  // for a Text or Memo field
    bool quiet = false;                     // an existing field of that name gives no message
};

// Adds a field of the type named by typeWord (see data_vDetermineFieldType) to tableName. size is the
// length of a Text field (a 16-bit number); a Long field of size 16 numbers itself. True when the field
// was added. A field name that is taken gives the message "Field names must be unique. That field name
// already exists." (unless quiet) and false; other errors are reported with "Database.bas ! ".
bool data_bAppendField(const QString& fieldName, const QString& typeWord, int size,
                       const QString& databasePath, const QString& tableName,
                       const AppendFieldOptions& options = {});

// Gives the field oldName of tableName the name newName; it keeps its type and data. False, silently,
// when the table or the field is not there; other errors are reported.
bool data_bAlterFieldName(const QString& databasePath, const QString& tableName, const QString& oldName,
                          const QString& newName);

// Saves the query queryName with sqlText, replacing a query of that name.
void data_CreateQuery(const QString& databasePath, const QString& queryName, const QString& sqlText);

// Whether the database has the whole find index (data/Find.h); errors are reported, false then. A
// database of the release before has the rest of the current design but not this.
bool data_bHasFindIndex(const QString& databasePath);

// Brings a database of an earlier release to the current design, in this order: ShowAs (Text 160) and
// Email (Text 50) added to Address, BalanceOwed of Cases renamed BallanceOwed, the seven customer-list
// queries created, the find index (data/Find.h) made and filled. A step that finds its work done already fails quietly and the later ones still run.
// The whole upgrade is one transaction: it is kept only when the database has every part of the current
// design afterwards, so a start that stops part-way, or a step that fails, leaves the old design for the
// next start to upgrade. True when the upgrade was kept.
bool data_UpgradeDatabase(const QString& databasePath);
