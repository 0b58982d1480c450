#pragma once

#include <QString>

class QComboBox;
class QWidget;

// Fills a drop-down list from a table or saved query: every non-Null value of fieldName, each with its
// row's itemDataField as item data when one is named, then widens the open list to its longest item.
// The text on display of an editable list is kept.
void data_PopulateListingCombo(QWidget* ownerForm, const QString& databasePath, const QString& sourceName,
                               const QString& fieldName, QComboBox* list, const QString& itemDataField = QString());

// The same from "SELECT DISTINCT field FROM table;", without widening the list.
void data_PopulateListingCombo(const QString& databasePath, const QString& tableName, const QString& fieldName,
                               QComboBox* list, const QString& itemDataField = QString());

// Appends the names of a table's fields, in table order, to a list (not cleared first).
void data_PopulateListingWithFieldNames(const QString& databasePath, const QString& tableName, QComboBox* list);
