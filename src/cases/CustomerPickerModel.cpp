#include "cases/CustomerPickerModel.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

// The mark of a customer with an open case.
QIcon openCaseIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0xc0, 0x20, 0x20));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(8, 4.5), QPointF(8, 9.5));
        p.drawPoint(QPointF(8, 12));
        return QIcon(pixmap);
    }();
    return icon;
}

} // namespace

void CustomerPickerModel::setEntries(QList<PickerEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    m_rows.clear();
    m_rows.reserve(m_entries.size());
    for (int row = 0; row < m_entries.size(); ++row)
        m_rows.insert(m_entries[row].customerId, row);
    endResetModel();
}

int CustomerPickerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant CustomerPickerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size()) return {};
    const PickerEntry& entry = m_entries[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.text;
    case Qt::DecorationRole:
        return entry.openCase ? QVariant(openCaseIcon()) : QVariant();
    default:
        return {};
    }
}

qint64 CustomerPickerModel::customerAt(int row) const {
    return row >= 0 && row < m_entries.size() ? m_entries[row].customerId : 0;
}

int CustomerPickerModel::rowOf(qint64 customerId) const {
    return m_rows.value(customerId, -1);
}
