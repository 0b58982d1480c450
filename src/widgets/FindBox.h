#pragma once

#include "data/Find.h"

#include <QAbstractListModel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QStyledItemDelegate>

// The rows of the find box's list: a heading ("Cases", "Customers") before each group that has hits,
// then its hits, each with its line as HTML (the found text in bold).
class FindResultsModel : public QAbstractListModel {
public:
    enum Role { HtmlRole = Qt::UserRole + 1, CaseKeyRole, CustomerKeyRole, HeadingRole };
    using QAbstractListModel::QAbstractListModel;

    void setResults(const FindResults& results);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The first row that is a hit, -1 when there is none.
    int firstHit() const;

private:
    struct Row {
        bool heading = false;
        QString text;
        QString html;
        qint64 caseKey = 0;
        qint64 customerKey = 0;
    };
    std::vector<Row> m_rows;
};

// Paints a row's HTML: headings grey, hits with their bold parts.
class FindDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A box that finds cases and customers as the user types (data/Find.h) and lists them under itself,
// over the window. Up and Down move through the hits, Enter opens the chosen one (the first when none
// is chosen), a click opens the one clicked, Escape closes the list; an empty box shows no list.
class FindBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FindBox(QWidget* parent = nullptr);
    ~FindBox() override;

    QListView* resultList() const { return m_list.data(); }
    FindResultsModel* results() const { return m_model; }
    // Small, so that it fits a toolbar beside other controls; it takes the room there is.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Opens the hit of that row of the list (a heading opens nothing) and closes the list.
    void openRow(int row);

signals:
    void caseChosen(qint64 caseKey, qint64 customerKey);
    void customerChosen(qint64 customerKey);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void search(const QString& text);
    void showList();
    void moveChoice(int step);

    QPointer<QListView> m_list; // a child of the window once shown, over everything else of it
    FindResultsModel* m_model = nullptr;
};
