#include "widgets/FindBox.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QTextDocument>

// ---- the rows

void FindResultsModel::setResults(const FindResults& results) {
    beginResetModel();
    m_rows.clear();
    const auto group = [&](const QString& heading, const std::vector<FindHit>& hits) {
        if (hits.empty()) return;
        m_rows.push_back({true, heading, heading.toHtmlEscaped(), 0, 0});
        for (const FindHit& hit : hits)
            m_rows.push_back({false, hit.text, find_sHighlight(hit.text, hit.terms), hit.caseKey, hit.customerKey});
    };
    group(QStringLiteral("Cases"), results.cases);
    group(QStringLiteral("Customers"), results.customers);
    endResetModel();
}

int FindResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant FindResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.text;
    case HtmlRole:
        return row.html;
    case CaseKeyRole:
        return row.caseKey;
    case CustomerKeyRole:
        return row.customerKey;
    case HeadingRole:
        return row.heading;
    default:
        return {};
    }
}

Qt::ItemFlags FindResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || data(index, HeadingRole).toBool()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

int FindResultsModel::firstHit() const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].heading) return int(i);
    return -1;
}

// ---- the painting

namespace {

constexpr int Padding = 4;

void prepare(QTextDocument& doc, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool heading = index.data(FindResultsModel::HeadingRole).toBool();
    QFont font = option.font;
    if (heading) font.setPointSizeF(font.pointSizeF() * 0.9);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setHtml(index.data(FindResultsModel::HtmlRole).toString());
}

} // namespace

void FindDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QTextDocument doc;
    prepare(doc, option, index);
    QAbstractTextDocumentLayout::PaintContext context;
    const bool selected = option.state & QStyle::State_Selected;
    const bool heading = index.data(FindResultsModel::HeadingRole).toBool();
    context.palette.setColor(QPalette::Text, heading      ? option.palette.color(QPalette::Disabled, QPalette::Text)
                                             : selected ? option.palette.color(QPalette::HighlightedText)
                                                        : option.palette.color(QPalette::Text));
    painter->save();
    painter->translate(option.rect.left() + Padding, option.rect.top() + Padding / 2);
    painter->setClipRect(QRect(0, 0, option.rect.width() - 2 * Padding, option.rect.height()));
    doc.documentLayout()->draw(painter, context);
    painter->restore();
}

QSize FindDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QTextDocument doc;
    prepare(doc, option, index);
    return {int(doc.idealWidth()) + 2 * Padding, int(doc.size().height()) + Padding};
}

// ---- the box

FindBox::FindBox(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Find"));
    setToolTip(QStringLiteral("Find a case or a customer: a check or case number, an amount, a name, a company, "
                              "a phone or account number (Ctrl+F)"));
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("lstFindResults"));
    m_list->setFocusPolicy(Qt::NoFocus); // the typing stays in the box
    m_list->setFrameShape(QFrame::Box);  // a plain line sets it off from the screen under it
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new FindDelegate(m_list));
    m_model = new FindResultsModel(m_list);
    m_list->setModel(m_model);
    m_list->hide();
    connect(m_list, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { openRow(index.row()); });
    connect(this, &QLineEdit::textChanged, this, &FindBox::search);
}

FindBox::~FindBox() {
    delete m_list.data(); // it may have moved to the window
}

QSize FindBox::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 12, QLineEdit::sizeHint().height()};
}

QSize FindBox::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 6, QLineEdit::minimumSizeHint().height()};
}

void FindBox::search(const QString& text) {
    FindResults found;
    if (!text.trimmed().isEmpty()) {
        ErrorGuard g(QStringLiteral("FindBox ! search"));
        g.run([&] { found = find_Search(DatabasePath, text); });
    }
    m_model->setResults(found);
    if (found.isEmpty()) {
        m_list->hide();
        return;
    }
    showList();
}

void FindBox::showList() {
    QWidget* top = window();
    if (m_list->parentWidget() != top) m_list->setParent(top); // over everything else of the window
    // As wide as the longest line, within the window; never narrower than the box.
    const int wanted = std::max(width(), m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() + 4);
    const int listWidth = std::min(wanted, top->width() - 4);
    QPoint at = mapTo(top, QPoint(0, height()));
    at.setX(std::clamp(at.x() + width() - listWidth, 2, std::max(2, top->width() - listWidth - 2)));
    int rowsHeight = 2 * m_list->frameWidth();
    for (int row = 0; row < m_model->rowCount(); ++row) rowsHeight += m_list->sizeHintForRow(row);
    const int listHeight = std::min(rowsHeight, top->height() - at.y() - 2);
    m_list->setGeometry(at.x(), at.y(), listWidth, listHeight);
    m_list->setCurrentIndex({});
    m_list->show();
    m_list->raise();
}

void FindBox::moveChoice(int step) {
    const int rows = m_model->rowCount();
    int row = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : (step > 0 ? -1 : rows);
    do {
        row += step;
    } while (row >= 0 && row < rows && !(m_model->flags(m_model->index(row)) & Qt::ItemIsSelectable));
    if (row >= 0 && row < rows) m_list->setCurrentIndex(m_model->index(row));
}

void FindBox::openRow(int row) {
    const QModelIndex index = m_model->index(row);
    if (!(m_model->flags(index) & Qt::ItemIsSelectable)) return;
    m_list->hide();
    const qint64 caseKey = index.data(FindResultsModel::CaseKeyRole).toLongLong();
    const qint64 customerKey = index.data(FindResultsModel::CustomerKeyRole).toLongLong();
    if (caseKey)
        emit caseChosen(caseKey, customerKey);
    else
        emit customerChosen(customerKey);
}

void FindBox::keyPressEvent(QKeyEvent* event) {
    const bool listed = m_list->isVisible();
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (listed) {
            moveChoice(event->key() == Qt::Key_Down ? 1 : -1);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (listed) {
            openRow(m_list->currentIndex().isValid() ? m_list->currentIndex().row() : m_model->firstHit());
            return;
        }
        break;
    case Qt::Key_Escape:
        if (listed) {
            m_list->hide();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void FindBox::focusOutEvent(QFocusEvent* event) {
    if (m_list) m_list->hide();
    QLineEdit::focusOutEvent(event);
}

void FindBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    if (m_list && m_list->isVisible()) showList();
}
