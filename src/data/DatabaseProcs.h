#pragma once

#include "core/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

class Recordset;

// The record operations: every read and write of the screens goes through these. Each operation is
// self-contained: it opens the database named by its path (DatabasePath or SettingsDatabasePath),
// does its work and lets go; changes made by one call are visible to the next. Errors are reported
// through the central error handling with "Database.bas ! " and the operation's name.

// The marker of a missing value for callers that ask for it.
constexpr int NoValueMarker = -99;

// Optional arguments of data_vCheckDBValue; each counts when set (presence, not value).
struct CheckOptions {
    bool notFoundAsEmpty = false; // a missing key gives "" instead of -99
    bool nullAsMinus99 = false;   // a Null field gives -99 instead of ""
    bool zeroAsMinus99 = false;   // a value equal to 0 gives -99
    bool useDynaset = false;      // open the table as a dynaset
};

// Reads one field. With an index name: of the row whose index value is keyValue (-99, or "" with
// notFoundAsEmpty, when there is none); without: of the first row (how Config is read). A Null field
// gives "" (or -99). A locked file is tried four times, three seconds apart, then the user is told
// and the result is Empty.
Value data_vCheckDBValue(const QString& databasePath, const QString& tableName, const QString& fieldName,
                         const QString& indexName, const Value& keyValue, const CheckOptions& options = {});

// Changes one field of the keyed row (or the first row without an index name; an empty table read
// without an index name gets its first row). Returns "" on success, "NoMatch" when the keyed row does
// not exist (nothing changed).
Value data_vChangeDBValue(const QString& databasePath, const QString& tableName, const QString& fieldName,
                          const Value& newValue, const QString& indexName, const Value& keyValue);

// Deletes the keyed row; a missing row is reported to the user unless quiet.
void data_DeleteRecord(const QString& databasePath, const QString& tableName, const QString& indexName,
                       const Value& keyValue, bool quiet = false);

// Runs a complete DELETE statement as one unit; false when an error stopped it.
bool data_bDeleteSpecificRecordsInTable(const QString& databasePath, const QString& sqlText);

// One entry of a drop-down list: its text and the number kept with it.
struct ListItem {
    QString text;
    qint64 itemData = 0;
    bool hasItemData = false;
};

// The entries for a drop-down list from a table or saved query: every non-Null value of fieldName, in
// order, each with its own row's itemDataField when one is named. (The screens fill their lists with
// data_PopulateListingCombo of src/util/DataWidgets.h, which uses this.)
QList<ListItem> data_ListingItems(const QString& databasePath, const QString& sourceName, const QString& fieldName,
                                  const QString& itemDataField = QString());

// The same from "SELECT DISTINCT field FROM table;".
QList<ListItem> data_DistinctListingItems(const QString& databasePath, const QString& tableName,
                                          const QString& fieldName, const QString& itemDataField = QString());

// A search criterion: field = "value" (text) or field = value. A double quote inside a text value is
// written doubled, so a value can never break the criterion.
QString data_SearchCriteria(const QString& fieldName, const Value& value, bool isText);

// The names of a table's fields in table order.
QStringList data_FieldNames(const QString& databasePath, const QString& tableName);

// True when the table exists and has the field; false, silently, when either is missing.
bool data_sGetFieldName(const QString& databasePath, const QString& tableName, const QString& fieldName);

// The number of rows of a table, saved query or SQL text; 0 when it has none.
qint64 data_lGetRecordCount(const QString& databasePath, const QString& sourceName);

// True when an open record set has no rows.
bool data_bIsRecordsetEmpty(const Recordset& recordSet);
