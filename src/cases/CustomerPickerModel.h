#pragma once

#include "cases/CaseListLogic.h"

#include <QAbstractListModel>
#include <QHash>

// The items of the case screen's customer picker: the text of each customer, the mark of an open case
// and the customer's key, with the row of each key at hand.
class CustomerPickerModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setEntries(QList<PickerEntry> entries);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    qint64 customerAt(int row) const;
    int rowOf(qint64 customerId) const; // -1 when the customer is not listed

private:
    QList<PickerEntry> m_entries;
    QHash<qint64, int> m_rows;
};
