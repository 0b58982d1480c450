#include "overview/OverviewModel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

void OverviewModel::setRows(OverviewRows rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void OverviewModel::clear() { setRows({}); }

int OverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int OverviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : OverviewColumnCount; }

QVariant OverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return QVariant();
    const OverviewRow& row = m_rows[size_t(index.row())];
    const int column = index.column();
    const bool link = overview_bIsLink(column) && (column == HLCustomerColumn || row.hasCase);
    switch (role) {
    case Qt::DisplayRole:
        return overview_sCellText(row, column);
    case Qt::ToolTipRole: {
        const QString tip = overview_sCellTip(row, column);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::ForegroundRole:
        if (column == ActiveCaseColumn) return QBrush(QColor(255, 0, 0));
        if (link) return QGuiApplication::palette().brush(QPalette::Link);
        return QVariant();
    case Qt::BackgroundRole:
        // Every other row white; the rows between show what lies behind.
        return index.row() % 2 == 0 ? QVariant(QBrush(Qt::white)) : QVariant();
    case KeyRole:
        if (column == HLCustomerColumn) return row.customerId;
        if (column == HLCaseColumn && row.hasCase) return row.caseId;
        return QVariant();
    case LinkRole:
        return link;
    default:
        return QVariant();
    }
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= OverviewColumnCount) return QVariant();
    if (role == ColumnNameRole) return QString::fromLatin1(OverviewColumnNames[section]);
    if (role != Qt::DisplayRole) return QVariant();
    static const char* const captions[OverviewColumnCount] = {"", "Customer", "Case", "Stage", "Stage Date"};
    return QString::fromLatin1(captions[section]);
}

void OverviewDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index == m_hovered && index.data(OverviewModel::LinkRole).toBool()) option->font.setUnderline(true);
}
