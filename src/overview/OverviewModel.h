#pragma once

#include "overview/OverviewLogic.h"

#include <QAbstractTableModel>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <deque>

// The overview's rows as a table: one row per case (or caseless customer under All), the cells of
// OverviewColumn. The texts are made only for the cells on display, so a rebuild costs the reading
// of the rows alone, however many there are.
class OverviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The key a link cell stands for: the CaseID of the case cell, the CustomerID of the customer cell.
    static constexpr int KeyRole = Qt::UserRole;
    // True for a cell that opens its row's case (or its customer).
    static constexpr int LinkRole = Qt::UserRole + 1;
    // Of the header: the name of the column's cells (lblActiveCase ... lblStageDate).
    static constexpr int ColumnNameRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(OverviewRows rows);
    void clear();
    const OverviewRow& overviewRow(int row) const { return m_rows[size_t(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    OverviewRows m_rows;
};

// Draws the link cells underlined while the mouse is over them.
class OverviewDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The link cell under the mouse (an invalid index for none).
    void setHovered(const QModelIndex& index) { m_hovered = index; }
    const QPersistentModelIndex& hovered() const { return m_hovered; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QPersistentModelIndex m_hovered;
};
