#include "widgets/DataWidgets.h"

#include "data/DatabaseProcs.h"
#include "widgets/WidgetUtilities.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {

void fill(QComboBox* list, const QList<ListItem>& items) {
    const QSignalBlocker blocker(list);
    const QString shown = list->currentText();
    list->clear();
    for (const ListItem& item : items) {
        list->addItem(item.text);
        if (item.hasItemData) list->setItemData(list->count() - 1, item.itemData);
    }
    if (list->isEditable())
        list->setEditText(shown);
    else
        list->setCurrentIndex(list->findText(shown));
}

} // namespace

void data_PopulateListingCombo(QWidget* ownerForm, const QString& databasePath, const QString& sourceName,
                               const QString& fieldName, QComboBox* list, const QString& itemDataField) {
    fill(list, data_ListingItems(databasePath, sourceName, fieldName, itemDataField));
    util_AdjustWidthOfComboBoxListPortion(ownerForm, list);
}

void data_PopulateListingCombo(const QString& databasePath, const QString& tableName, const QString& fieldName,
                               QComboBox* list, const QString& itemDataField) {
    fill(list, data_DistinctListingItems(databasePath, tableName, fieldName, itemDataField));
}

void data_PopulateListingWithFieldNames(const QString& databasePath, const QString& tableName, QComboBox* list) {
    list->addItems(data_FieldNames(databasePath, tableName));
}
